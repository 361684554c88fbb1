// The two Windows calls the add-on makes, as stand-ins the host process
// controls: nothing really waits or opens; each call is recorded.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <functional>
#include <string>

PLATFORM_API void Sleep(UInt32 milliseconds);
// Returns a value above 32 on success, as the real call does.
PLATFORM_API GS::IntPtr ShellExecuteA(void* window, const char* operation, const char* file, const char* parameters,
                                      const char* directory, Int32 showCommand);

namespace Win {
struct ShellExecuteCall {
    void* window;
    std::string operation, file, parameters, directory;
    Int32 showCommand;
};
PLATFORM_API void SetSleepHook(std::function<void(UInt32)> hook);
PLATFORM_API void SetShellExecuteHook(std::function<GS::IntPtr(const ShellExecuteCall&)> hook);
}
