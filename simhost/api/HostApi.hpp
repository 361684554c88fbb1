// The host's side of every table slot: one member function per slot, named
// as the slot. The table's thunks log the call, check the token, apply
// planned failures, measure the time and then call these.
#pragma once
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"

namespace SimHost {

class HostApi {
public:
    explicit HostApi(Host& host) : host(host) {}

#define HOST_SLOT(Name, Ret, Tok, Missing, Fails, Params, Args) Ret Name Params;
#include "platform/api/HostSlots.def"

private:
    Host& host;
};

// Fills a table of HostFunctionCount entries with the thunks.
void FillHostTable(std::vector<void*>& table);

}  // namespace SimHost
