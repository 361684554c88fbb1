#include "platform/win/Windows.hpp"

namespace {
std::function<void(UInt32)>& SleepHook()
{
    static auto* h = new std::function<void(UInt32)>;
    return *h;
}
std::function<GS::IntPtr(const Win::ShellExecuteCall&)>& ShellHook()
{
    static auto* h = new std::function<GS::IntPtr(const Win::ShellExecuteCall&)>;
    return *h;
}
std::string Str(const char* s) { return s != nullptr ? s : ""; }
}  // namespace

void Sleep(UInt32 milliseconds)
{
    if (SleepHook())
        SleepHook()(milliseconds);
}

GS::IntPtr ShellExecuteA(void* window, const char* operation, const char* file, const char* parameters, const char* directory,
                         Int32 showCommand)
{
    Win::ShellExecuteCall call{window, Str(operation), Str(file), Str(parameters), Str(directory), showCommand};
    if (ShellHook())
        return ShellHook()(call);
    return 42;
}

namespace Win {
void SetSleepHook(std::function<void(UInt32)> hook) { SleepHook() = std::move(hook); }
void SetShellExecuteHook(std::function<GS::IntPtr(const ShellExecuteCall&)> hook) { ShellHook() = std::move(hook); }
}  // namespace Win
