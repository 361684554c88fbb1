// Calls whose model the stand-in host does not hold yet. Each answers with
// the host's general error and records that it was asked, so that a test
// driving a command into one of them fails with a readable reason.
#include "simhost/api/HostApi.hpp"

namespace SimHost {

// Every slot the add-on uses is modelled now; the helper stays for the
// next slot that is not.
namespace {
[[maybe_unused]] GSErrCode Unmodelled(Host& host, const char* what)
{
    host.recorder.AddFault(std::string("the stand-in host does not model ") + what + " yet");
    return APIERR_GENERAL;
}
}  // namespace

#define UNMODELLED(Name, Params)                                                    \
    GSErrCode HostApi::Name Params { return Unmodelled(host, #Name); }

}  // namespace SimHost
