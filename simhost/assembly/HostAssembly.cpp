// The Host put together: the one file that sees every part (core's, api's
// table and request handlers, ui's scripted user and palette view) and
// hooks the platform's libraries to them for the host's life.
#include "simhost/core/SimHost.hpp"
#include "platform/dg/DGModal.hpp"
#include "platform/dg/DGUserInput.hpp"
#include "platform/gs/DBPrintf.hpp"
#include "platform/gs/Memory.hpp"
#include "platform/io/File.hpp"
#include "platform/win/Windows.hpp"
#include "simhost/api/HostApi.hpp"
#include "simhost/api/Requests.hpp"
#include "simhost/ui/PaletteView.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include <algorithm>

namespace SimHost {

Host::Host()
    : faultPlan(table, recorder),
      libraries(recorder.events),
      session(*this),
      userPart(new ScriptedUser(*this)),
      user(*userPart),
      api(new HostApi(*this)),
      requests(new RequestHandlers(*this))
{
    FillHostTable(table);
    MakeCurrent();
    CHSetDefaultCodePage(HOST_VERSION == 25 ? 1250 : 1252);
    session.describePalette = [this] { return DescribePalette(*this); };
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
    IO::SetFileOpenedForWritingHook([this](const std::string& path) {
        if (std::find(recorder.filesWritten.begin(), recorder.filesWritten.end(), path) == recorder.filesWritten.end())
            recorder.filesWritten.push_back(path);
        recorder.events.push_back("the add-on opens " + path + " for writing");
    });
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
    IO::SetFileOpenedForWritingHook(nullptr);
    RestorePrevious();
}

}  // namespace SimHost
