#include "platform/vomdix/JobLedger.hpp"
#include <mutex>
#include <set>

namespace VOMDIX {
namespace {

struct Ledger {
    std::mutex mutex;
    std::set<Int32> open;
    Int32 next = 1;
    Int32 firstSinceReset = 1;
    JobCounts counts;
};

Ledger& TheLedger()
{
    static Ledger ledger;
    return ledger;
}

}  // namespace

Int32 LedgerBeginJob()
{
    Ledger& l = TheLedger();
    std::lock_guard<std::mutex> lock(l.mutex);
    const Int32 job = l.next;
    l.next = l.next == INT32_MAX ? 1 : l.next + 1;
    l.open.insert(job);
    ++l.counts.begun;
    return job;
}

bool LedgerJobIsOpen(Int32 job)
{
    Ledger& l = TheLedger();
    std::lock_guard<std::mutex> lock(l.mutex);
    return l.open.count(job) != 0;
}

bool LedgerEndJob(Int32 job)
{
    Ledger& l = TheLedger();
    std::lock_guard<std::mutex> lock(l.mutex);
    if (l.open.erase(job) != 0) {
        ++l.counts.ended;
        return true;
    }
    if (job >= l.firstSinceReset && job < l.next)
        ++l.counts.endedTwice;
    else
        ++l.counts.endedUnknown;
    return false;
}

JobCounts GetJobCounts()
{
    Ledger& l = TheLedger();
    std::lock_guard<std::mutex> lock(l.mutex);
    JobCounts c = l.counts;
    c.open = static_cast<Int64>(l.open.size());
    return c;
}

void ResetJobCounts()
{
    Ledger& l = TheLedger();
    std::lock_guard<std::mutex> lock(l.mutex);
    l.open.clear();
    l.counts = JobCounts();
    l.firstSinceReset = l.next;
}

}  // namespace VOMDIX
