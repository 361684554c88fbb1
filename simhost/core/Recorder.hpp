// What the stand-in host saw: every host call by slot name and every
// request, the alerts, the host's events for the report, the add-on's
// faults, the progress windows shown, and the time spent inside the host's
// own calls.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/win/Windows.hpp"
#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace SimHost {

// Something the add-on did that a real host would not forgive: a wrong
// token, a double free, an unbalanced progress window. Tests fail on them.
struct AddOnFault {
    std::string what;
};

struct ProgressPhase {
    std::string text;  // UTF-8
    Int32 maximum = 0;
    bool warning = false;
    Int32 value = 0;
};

struct ProgressWindow {
    std::string title;  // UTF-8
    Int16 phaseCount = 0;
    std::vector<ProgressPhase> phases;
    bool open = true;
    bool cancelled = false;
};

// An element event the host had for the add-on: sent to its handler (with
// the handler's answer), or not, when the add-on had installed none.
struct ElementEventSent {
    API_NotifyElementID kind = APINotifyElement_Change;
    API_Guid guid{};
    bool delivered = false;
    GSErrCode result = NoError;
};

class Recorder {
public:
    void AddFault(const std::string& what) { faults.push_back({what}); }
    // The last `last` host calls, for a failing test's message.
    std::string CallLogText(USize last = 40) const;
    // Reports what a finished command must not leave behind (an open
    // progress window) and closes it.
    void CheckBalanced();
    // The open progress window, or null with the add-on's fault recorded
    // (the request named it).
    ProgressWindow* OpenProgressWindow(const char* request);

    // Slot names, in call order: views of static texts (the slot names and
    // the Windows calls' names), so that logging a call copies no text.
    std::vector<std::string_view> callLog;
    std::vector<std::string> requestLog;  // request codes, in call order
    std::vector<std::string> events;      // the host's side of events, for the report
    std::vector<std::string> filesWritten;  // opened for writing by the add-on, first time each
    std::vector<std::string> alerts;      // UTF-8, in order
    std::vector<std::string> debugLines;  // DBPrintf output
    std::vector<UInt32> sleeps;           // milliseconds asked for
    std::vector<Win::ShellExecuteCall> shellCalls;  // what the add-on asked the shell to open
    std::vector<AddOnFault> faults;
    std::vector<API_Guid> changedElements;  // every change, in order
    std::vector<API_Guid> createdElements;  // every element the add-on created, in order
    std::vector<API_Guid> deletedElements;  // every element the add-on deleted, in order
    std::vector<ProgressWindow> progressWindows;
    std::vector<ElementEventSent> elementEvents;  // in order
    Int32 cancelChecks = 0;
    Int32 suspendGroupToggles = 0;

    // Time spent inside the host's table calls, so that a benchmark can
    // tell the add-on's own time from the stand-in's: the outermost calls'
    // wall time in nanoseconds, and the number of table calls.
    Int64 hostCallNanoseconds = 0;
    Int64 hostCallCount = 0;
    Int32 hostCallDepth = 0;
    // The clock those times are read from, in nanoseconds: the steady clock,
    // or one a test sets to check the accounting without real time.
    std::function<Int64()> clock = [] {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
};

// The add-on's own code called back from inside a host call (a rubber-line
// callback, a roof plane's converter): while it runs, its host calls are
// measured as calls of their own, and its time is taken out of the
// enclosing call's.
class AddOnCallbackClock {
public:
    explicit AddOnCallbackClock(Recorder& recorder)
        : recorder(recorder), depth(recorder.hostCallDepth), start(recorder.clock())
    {
        recorder.hostCallDepth = 0;
    }
    ~AddOnCallbackClock()
    {
        recorder.hostCallDepth = depth;
        if (depth > 0)
            recorder.hostCallNanoseconds -= recorder.clock() - start;
    }
    AddOnCallbackClock(const AddOnCallbackClock&) = delete;
    AddOnCallbackClock& operator=(const AddOnCallbackClock&) = delete;

private:
    Recorder& recorder;
    Int32 depth;
    Int64 start;
};

// Hex text of a code, "0x81060001", as events and messages show codes.
std::string HexCode(UInt32 code);

}  // namespace SimHost
