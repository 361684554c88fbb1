#include "addon/services/AddOnGlobals.hpp"
#include "addon/host/HostBinding.hpp"
#include "platform/dg/DG.hpp"
#include "addon/host/HostCalls.hpp"
#include "platform/gs/DBPrintf.hpp"

extern const RSImage AddOnResourceImage;

namespace {

// Constructed when the library is attached, destroyed when it is detached.
struct AddOnLifetime {
    GS::Guid paletteGuid{PaletteGuidText};
    std::unique_ptr<DG::Panel> palette;
    GSResModule resources = RSOpenModule(&AddOnResourceImage);

    ~AddOnLifetime()
    {
        // A palette the host never closed goes with the library: its code
        // is unloaded, so DG must not keep it.
        palette.reset();
        // The token is cleared when the free-data entry returns; still set
        // here means the host dropped the add-on without that call.
        if (HostBinding::Token() != nullptr) {
            DBPrintf("Abnormal add-on termination (\"%s\")\n", HostOwnFilePath().ToCStr().Get());
            HostBinding::SetToken(nullptr);
        }
        RSCloseModule(resources);
        HostBinding::Reset();
    }
};

AddOnLifetime& Lifetime()
{
    static AddOnLifetime lifetime;
    return lifetime;
}

// Build the globals at load rather than on first use.
[[maybe_unused]] const AddOnLifetime& constructedAtLoad = Lifetime();

}  // namespace

const GS::Guid& PaletteGuid() { return Lifetime().paletteGuid; }
DG::Panel* PaletteOwner::Get() { return Lifetime().palette.get(); }
void PaletteOwner::Adopt(std::unique_ptr<DG::Panel> palette) { Lifetime().palette = std::move(palette); }
void PaletteOwner::Delete() { Lifetime().palette.reset(); }
GSResModule OwnResourceModule() { return Lifetime().resources; }
