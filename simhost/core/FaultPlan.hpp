// The failures a test plans for the add-on's host calls: empty slots,
// slots and requests that fail with a code, and the N-th failing call of a
// run. Only calls the slot list marks as able to fail are touched.
#pragma once
#include "platform/api/HostTable.hpp"
#include <map>
#include <vector>

namespace SimHost {

class Recorder;

struct PlannedFailure {
    GSErrCode code;
    Int32 remaining;  // calls still to fail; negative: every call
};

class FaultPlan {
public:
    FaultPlan(std::vector<void*>& table, Recorder& recorder) : table(table), recorder(recorder) {}

    // Empties a slot of the table; the add-on copies the table when it is
    // handed over, so this is done before the add-on is loaded.
    void EmptySlot(HostSlot slot);
    // The next `times` calls of the slot (negative: all of them) fail with code.
    void FailSlot(HostSlot slot, GSErrCode code, Int32 times = -1);
    // The request's next `times` calls (negative: all) fail with code.
    void FailRequest(const char (&code)[5], GSErrCode err, Int32 times = -1);
    void FailRequest(API_RequestCode code, GSErrCode err, Int32 times = -1);
    // The n-th failable host call from now fails with code (0: off).
    void FailNthCall(Int64 n, GSErrCode code = APIERR_GENERAL);
    // Whether the failure FailNthCall planned has happened.
    bool NthCallFailed() const { return nthCallFailed; }
    // How many calls so far a planned failure could have reached: the
    // range of n a fault sweep runs through.
    Int64 FailableCallCount() const { return failableCalls; }

    // For the table: whether this call fails by plan, and with which code.
    // `request` is the request code of a dispatching call, else 0.
    bool SlotFails(HostSlot slot, API_RequestCode request, GSErrCode& code);
    bool RequestFails(API_RequestCode request, GSErrCode& code);

private:
    std::vector<void*>& table;
    Recorder& recorder;
    std::map<HostSlot, PlannedFailure> slotFailures;
    std::map<API_RequestCode, PlannedFailure> requestFailures;
    Int64 failCountdown = 0;
    bool nthCallFailed = false;
    Int64 failableCalls = 0;
    GSErrCode failCode = APIERR_GENERAL;
};

}  // namespace SimHost
