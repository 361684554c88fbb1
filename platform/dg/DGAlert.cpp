#include "platform/dg/DGAlert.hpp"
#include "platform/dg/DGInternal.hpp"
#include <string>

namespace {

constexpr UInt32 AlertRecordType = 0x414c5254;  // 'ALRT'

DG::UserInput::AlertAnswer& Answer()
{
    static DG::UserInput::AlertAnswer answer;
    return answer;
}

using Reader = DG::Internal::ResourceReader;

}  // namespace

namespace DG {

bool DecodeAlertResource(const unsigned char* data, UInt32 size, AlertResource* out)
{
    if (data == nullptr || out == nullptr)
        return false;
    Reader r(data, size);
    AlertResource alert;
    UInt16 count = 0;
    if (!r.Text(&alert.title) || !r.Text(&alert.text) || !r.Text(&alert.detail) || !r.U16(&count) || count < 1 ||
        count > 3)
        return false;
    for (UInt16 i = 0; i < count; ++i) {
        GS::UniString button;
        if (!r.Text(&button))
            return false;
        alert.buttons.push_back(button);
    }
    if (!r.AtEnd())
        return false;
    alert.id = out->id;
    *out = alert;
    return true;
}

bool ReadAlertResource(GSResModule module, Int16 id, AlertResource* out)
{
    UInt32 size = 0;
    const unsigned char* data = RSLoadResource(AlertRecordType, id, module, &size);
    if (!DecodeAlertResource(data, size, out))
        return false;
    out->id = id;
    return true;
}

namespace UserInput {
void SetAlertAnswer(AlertAnswer answer) { Answer() = std::move(answer); }
}  // namespace UserInput

}  // namespace DG

Int16 DGResAlert(GSResModule module, Int16 id)
{
    DG::AlertResource alert;
    if (!DG::ReadAlertResource(module, id, &alert))
        return 0;
    const Int16 pressed = Answer() ? Answer()(alert) : 1;
    return pressed >= 1 && static_cast<size_t>(pressed) <= alert.buttons.size() ? pressed : 1;
}
