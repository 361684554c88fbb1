#include "simhost/core/FaultPlan.hpp"
#include "platform/api/HostRequests.hpp"
#include "simhost/core/Recorder.hpp"

namespace SimHost {

namespace {
// One call of a planned failure: true (and the code) while calls remain.
bool Consume(PlannedFailure& failure, GSErrCode& code)
{
    if (failure.remaining == 0)
        return false;
    if (failure.remaining > 0)
        --failure.remaining;
    code = failure.code;
    return true;
}
}  // namespace

void FaultPlan::EmptySlot(HostSlot slot) { table[static_cast<UInt32>(slot)] = nullptr; }

void FaultPlan::FailSlot(HostSlot slot, GSErrCode code, Int32 times) { slotFailures[slot] = {code, times}; }

void FaultPlan::FailRequest(const char (&code)[5], GSErrCode err, Int32 times) { FailRequest(RequestCode(code), err, times); }

void FaultPlan::FailRequest(API_RequestCode code, GSErrCode err, Int32 times) { requestFailures[code] = {err, times}; }

void FaultPlan::FailNthCall(Int64 n, GSErrCode code)
{
    failCountdown = n;
    failCode = code;
    nthCallFailed = false;
}

bool FaultPlan::SlotFails(HostSlot slot, API_RequestCode request, GSErrCode& code)
{
    ++failableCalls;
    if (failCountdown > 0 && --failCountdown == 0) {
        code = failCode;
        nthCallFailed = true;
        std::string what = HostSlotName(slot);
        if (request != 0)
            what += " '" + RequestCodeText(request) + "'";
        recorder.events.push_back("injected failure of " + what + ": " + HexCode(static_cast<UInt32>(code)));
        return true;
    }
    auto it = slotFailures.find(slot);
    return it != slotFailures.end() && Consume(it->second, code);
}

bool FaultPlan::RequestFails(API_RequestCode request, GSErrCode& code)
{
    auto it = requestFailures.find(request);
    return it != requestFailures.end() && Consume(it->second, code);
}

}  // namespace SimHost
