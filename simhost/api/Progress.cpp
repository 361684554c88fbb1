// The progress window and the suspend-groups mode.
#include "simhost/api/HostApi.hpp"
#include "simhost/api/Requests.hpp"

namespace SimHost {

namespace {

std::string Text8(const void* p) { return p != nullptr ? GS::UniString(static_cast<const char*>(p), CC_Default).ToUtf8() : ""; }

ProgressWindow* OpenWindow(Host& host, const char* request)
{
    if (!host.progressWindows.empty() && host.progressWindows.back().open)
        return &host.progressWindows.back();
    host.AddFault(std::string("'") + request + "' without an open progress window");
    return nullptr;
}

GSErrCode OpenProgress(Host& host, void* title, void* phases, void*)
{
    if (!host.progressWindows.empty() && host.progressWindows.back().open)
        host.AddFault("a progress window was opened while another was open");
    ProgressWindow w;
    w.title = Text8(title);
    w.phaseCount = phases != nullptr ? *static_cast<Int16*>(phases) : 0;
    host.progressWindows.push_back(w);
    return NoError;
}

GSErrCode StartPhase(Host& host, void* text, void* maximum, void* warning)
{
    ProgressWindow* w = OpenWindow(host, "SPRP");
    if (w == nullptr)
        return APIERR_GENERAL;
    ProgressPhase phase;
    phase.text = Text8(text);
    phase.maximum = maximum != nullptr ? *static_cast<Int32*>(maximum) : 0;
    phase.warning = warning != nullptr && *static_cast<bool*>(warning);
    w->phases.push_back(phase);
    return NoError;
}

GSErrCode SetValue(Host& host, void* value, void*, void*)
{
    ProgressWindow* w = OpenWindow(host, "SPRV");
    if (w == nullptr || w->phases.empty())
        return APIERR_GENERAL;
    w->phases.back().value = value != nullptr ? *static_cast<Int32*>(value) : 0;
    return NoError;
}

GSErrCode Increment(Host& host, void* step, void*, void*)
{
    ProgressWindow* w = OpenWindow(host, "IPRV");
    if (w == nullptr || w->phases.empty())
        return APIERR_GENERAL;
    w->phases.back().value += step != nullptr ? *static_cast<Int32*>(step) : 1;
    return NoError;
}

// Non-zero when the user has cancelled.
GSErrCode CancelRequested(Host& host, void*, void*, void*)
{
    ++host.cancelChecks;
    ProgressWindow* w = OpenWindow(host, "CANC");
    if (w == nullptr)
        return 0;
    if (host.cancelAtCheck > 0 && host.cancelChecks >= host.cancelAtCheck)
        w->cancelled = true;
    return w->cancelled ? 1 : 0;
}

GSErrCode CloseProgress(Host& host, void*, void*, void*)
{
    ProgressWindow* w = OpenWindow(host, "CPWD");
    if (w != nullptr)
        w->open = false;
    return NoError;
}

GSErrCode SuspendGroupsState(Host& host, void* flag, void*, void*)
{
    if (flag == nullptr)
        return APIERR_BADPARS;
    *static_cast<bool*>(flag) = host.model.suspendGroups;
    return NoError;
}

GSErrCode ToggleSuspendGroups(Host& host, void*, void*, void*)
{
    host.model.suspendGroups = !host.model.suspendGroups;
    ++host.suspendGroupToggles;
    return NoError;
}

const RequestRegistration ipwd{RequestKind::Interface, "IPWD", &OpenProgress};
const RequestRegistration sprp{RequestKind::Interface, "SPRP", &StartPhase};
const RequestRegistration sprv{RequestKind::Interface, "SPRV", &SetValue};
const RequestRegistration iprv{RequestKind::Interface, "IPRV", &Increment};
const RequestRegistration canc{RequestKind::Interface, "CANC", &CancelRequested};
const RequestRegistration cpwd{RequestKind::Interface, "CPWD", &CloseProgress};
const RequestRegistration issg{RequestKind::Environment, "ISSG", &SuspendGroupsState};
const RequestRegistration susp{RequestKind::ToolCommand, "SUSP", &ToggleSuspendGroups};

}  // namespace

}  // namespace SimHost
