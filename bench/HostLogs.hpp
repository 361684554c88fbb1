// The stand-in host logs every call and request by name. Room for the logs
// is made before a benchmark takes its peak, so that the host's own log
// does not count as the add-on's memory.
#pragma once
#include "simhost/core/SimHost.hpp"
#include <cstdio>

namespace Bench {

// More calls than any benchmark's command makes per object (a wall object
// takes about 270); the destructor below tells when a run made more.
constexpr size_t HostLogEntriesPerObject = 512;

class ReservedHostLogs {
public:
    // Room for `entries` calls and as many requests. What the logs hold is
    // dropped first (no benchmark reads them): kept, every measure would
    // move the whole log of the measures before it into a larger block.
    ReservedHostLogs(SimHost::Host& host, size_t entries)
        : recorder(host.recorder),
          calls((recorder.callLog.clear(), recorder.callLog.reserve(entries), recorder.callLog.capacity())),
          requests((recorder.requestLog.clear(), recorder.requestLog.reserve(entries), recorder.requestLog.capacity()))
    {
    }
    // Says so when a log outgrew its room during the measure: the peak then
    // counts the host's log too.
    ~ReservedHostLogs()
    {
        if (recorder.callLog.capacity() != calls || recorder.requestLog.capacity() != requests)
            std::fprintf(stderr, "the host's call log outgrew the room made for it: the peak counts it\n");
    }

private:
    SimHost::Recorder& recorder;
    size_t calls, requests;
};

}  // namespace Bench
