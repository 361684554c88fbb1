#include "addon/host/HostBinding.hpp"

namespace {
void* g_table[HostFunctionCount];
bool g_received = false;
HostToken g_token = nullptr;
}  // namespace

namespace HostBinding {
void ReceiveTable(void* const* table)
{
    for (UInt32 i = 0; i < HostFunctionCount; ++i)
        g_table[i] = table != nullptr ? table[i] : nullptr;
    g_received = table != nullptr;
}
bool TableReceived() { return g_received; }
void* SlotFunction(HostSlot slot)
{
    UInt32 i = static_cast<UInt32>(slot);
    return g_received && i < HostFunctionCount ? g_table[i] : nullptr;
}
void SetToken(HostToken token) { g_token = token; }
HostToken Token() { return g_token; }
void Reset()
{
    for (auto& f : g_table)
        f = nullptr;
    g_received = false;
    g_token = nullptr;
}
}  // namespace HostBinding
