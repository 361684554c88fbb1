// The progress window and the suspend-groups mode.
#include "simhost/api/HostApi.hpp"
#include "simhost/api/Requests.hpp"

namespace SimHost {

namespace {
std::string Text8(const char* p) { return p != nullptr ? GS::UniString(p, CC_Default).ToUtf8() : ""; }
}  // namespace

GSErrCode RequestHandlers::IPWD(const char* title, const Int16* phaseCount)
{
    if (!host.recorder.progressWindows.empty() && host.recorder.progressWindows.back().open)
        host.recorder.AddFault("a progress window was opened while another was open");
    ProgressWindow w;
    w.title = Text8(title);
    w.phaseCount = phaseCount != nullptr ? *phaseCount : 0;
    host.recorder.progressWindows.push_back(w);
    return NoError;
}

GSErrCode RequestHandlers::SPRP(const char* text, const Int32* maximum, const bool* warning)
{
    ProgressWindow* w = host.recorder.OpenProgressWindow("SPRP");
    if (w == nullptr)
        return APIERR_GENERAL;
    ProgressPhase phase;
    phase.text = Text8(text);
    phase.maximum = maximum != nullptr ? *maximum : 0;
    phase.warning = warning != nullptr && *warning;
    w->phases.push_back(phase);
    return NoError;
}

GSErrCode RequestHandlers::SPRV(const Int32* value)
{
    ProgressWindow* w = host.recorder.OpenProgressWindow("SPRV");
    if (w == nullptr || w->phases.empty())
        return APIERR_GENERAL;
    w->phases.back().value = value != nullptr ? *value : 0;
    return NoError;
}

GSErrCode RequestHandlers::IPRV(const Int32* step)
{
    ProgressWindow* w = host.recorder.OpenProgressWindow("IPRV");
    if (w == nullptr || w->phases.empty())
        return APIERR_GENERAL;
    w->phases.back().value += step != nullptr ? *step : 1;
    return NoError;
}

// Non-zero when the user has cancelled.
GSErrCode RequestHandlers::CANC()
{
    Int32 checks = ++host.recorder.cancelChecks;
    ProgressWindow* w = host.recorder.OpenProgressWindow("CANC");
    if (w == nullptr)
        return 0;
    if (host.user.cancelAtCheck > 0 && checks >= host.user.cancelAtCheck)
        w->cancelled = true;
    return w->cancelled ? 1 : 0;
}

GSErrCode RequestHandlers::CPWD()
{
    ProgressWindow* w = host.recorder.OpenProgressWindow("CPWD");
    if (w != nullptr)
        w->open = false;
    return NoError;
}

GSErrCode RequestHandlers::ISSG(bool* suspended)
{
    if (suspended == nullptr)
        return APIERR_BADPARS;
    *suspended = host.model.suspendGroups;
    return NoError;
}

GSErrCode RequestHandlers::SUSP(const GS::Array<API_Guid>*)
{
    host.model.suspendGroups = !host.model.suspendGroups;
    ++host.recorder.suspendGroupToggles;
    return NoError;
}

void RequestHandlers::FailedByPlan(API_RequestCode code)
{
    // The add-on asked to close the window and the host failed: the open
    // window is the host's doing, not an unbalanced add-on.
    if (code == HostRequestTraits<HostRequestId::CPWD>::code && !host.recorder.progressWindows.empty())
        host.recorder.progressWindows.back().open = false;
}

}  // namespace SimHost
