#include "simhost/core/SimHost.hpp"
#include "platform/dg/DGModal.hpp"
#include "simhost/api/HostApi.hpp"
#include "simhost/api/Requests.hpp"
#include "simhost/ui/AddOnFolder.hpp"
#include "simhost/ui/PaletteView.hpp"
#include "platform/dg/DGUserInput.hpp"
#include "platform/gs/DBPrintf.hpp"
#include "platform/gs/Memory.hpp"
#include "platform/win/Windows.hpp"

namespace SimHost {

namespace {
Host* g_current = nullptr;
}  // namespace

Host::Host()
    : faultPlan(table, recorder),
      libraries(recorder),
      session(*this),
      user(*this),
      api(new HostApi(*this)),
      requests(new RequestHandlers(*this))
{
    FillHostTable(table);
    previous = g_current;
    g_current = this;
    CHSetDefaultCodePage(HOST_VERSION == 25 ? 1250 : 1252);
    GS::SetDebugOutputSink([this](const char* line) {
        // The add-on may be reporting that memory ran out: a line the host
        // has no memory to keep is dropped rather than thrown into the
        // add-on's guarded code.
        try {
            std::string l = line;
            while (!l.empty() && (l.back() == '\n' || l.back() == '\r'))
                l.pop_back();
            recorder.debugLines.push_back(l);
        } catch (const std::bad_alloc&) {
        }
    });
    GS::SetMemoryFaultHook([this](const std::string& what) { recorder.AddFault("memory: " + what); });
    Win::SetSleepHook([this](UInt32 ms) {
        recorder.sleeps.push_back(ms);
        recorder.callLog.push_back("Sleep");
    });
    Win::SetShellExecuteHook([this](const Win::ShellExecuteCall& call) { return RecordShellCall(*this, call); });
    DG::UserInput::SetFileDialogAnswer([this](const DG::FileDialog& dialog, IO::Location* chosen) {
        std::string event;
        bool answered = user.fileDialogs.Answer(dialog, chosen, &event);
        recorder.events.push_back(event);
        return answered;
    });
    DG::UserInput::SetModalDialogPlayer(user.ModalDialogPlayer());
    DG::UserInput::SetAlertAnswer(user.AlertAnswer());
}

Host::~Host()
{
    if (session.AddOnLoaded())
        session.UnloadAddOn(true);
    GS::SetDebugOutputSink(nullptr);
    GS::SetMemoryFaultHook(nullptr);
    Win::SetSleepHook(nullptr);
    Win::SetShellExecuteHook(nullptr);
    DG::UserInput::SetFileDialogAnswer(nullptr);
    DG::UserInput::SetModalDialogPlayer({});
    DG::UserInput::SetAlertAnswer(nullptr);
    g_current = previous;
}

Host* Host::Current() { return g_current; }

Element& Host::PlaceObject(const std::string& part, const GdlParams& overrides, Int32 layer)
{
    Element& e = model.Add(API_ObjectID, layer);
    ObjectPart& object = e.Object();
    object.libInd = libraries.IndexOfPart(part);
    if (const LibraryPartDef* def = libraries.PartOfIndex(object.libInd))
        object.params = def->defaults;
    for (const GdlParam& p : overrides) {
        bool replaced = false;
        for (auto& q : object.params)
            if (q.name == p.name) {
                q = p;
                replaced = true;
            }
        if (!replaced)
            object.params.push_back(p);
    }
    // A placed object has computed its parameters, as its script does.
    RecomputeObject(e);
    return e;
}

void Host::RecomputeObject(Element& e)
{
    const ObjectPart* object = e.As<ObjectPart>();
    if (object == nullptr)
        return;
    if (const LibraryPartDef* def = libraries.PartOfIndex(object->libInd)) {
        auto behaviour = libraries.behaviours.find(def->name);
        if (behaviour != libraries.behaviours.end())
            behaviour->second(*this, e);
    }
}

}  // namespace SimHost
