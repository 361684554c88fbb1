#include "simhost/core/Recorder.hpp"
#include <cstdio>
#include <sstream>

namespace SimHost {

std::string HexCode(UInt32 code)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", code);
    return buf;
}

std::string Recorder::CallLogText(USize last) const
{
    std::ostringstream os;
    USize from = callLog.size() > last ? callLog.size() - last : 0;
    os << "host calls " << from + 1 << ".." << callLog.size() << ":";
    for (USize i = from; i < callLog.size(); ++i)
        os << " " << callLog[i];
    return os.str();
}

void Recorder::CheckBalanced()
{
    for (auto& w : progressWindows)
        if (w.open) {
            AddFault("progress window \"" + w.title + "\" was left open");
            w.open = false;
        }
}

ProgressWindow* Recorder::OpenProgressWindow(const char* request)
{
    if (!progressWindows.empty() && progressWindows.back().open)
        return &progressWindows.back();
    AddFault(std::string("'") + request + "' without an open progress window");
    return nullptr;
}

}  // namespace SimHost
