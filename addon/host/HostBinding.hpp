// The add-on's copy of the host's function table and its context token.
// Only the wrappers in this folder read them.
#pragma once
#include "platform/api/HostTable.hpp"

namespace HostBinding {
// Copies HostFunctionCount pointers and marks the table received.
void ReceiveTable(void* const* table);
bool TableReceived();
void* SlotFunction(HostSlot slot);
void SetToken(HostToken token);
HostToken Token();
// Forgets the table and the token; the library's unload calls it.
void Reset();
}  // namespace HostBinding
