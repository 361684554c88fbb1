#include "platform/rs/RS.hpp"
#include <cstring>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <map>
#include <mutex>

namespace {
struct Modules {
    std::mutex lock;
    std::map<GSResModule, const RSImage*> open;
    std::map<GSResModule, std::string> files;
    GSResModule next = 1;
};
Modules& Mods()
{
    static auto* m = new Modules;
    return *m;
}
const RSImage* Find(GSResModule module)
{
    std::lock_guard<std::mutex> g(Mods().lock);
    auto it = Mods().open.find(module);
    return it == Mods().open.end() ? nullptr : it->second;
}
const char* FindString(GSResID listId, Int32 index, GSResModule module)
{
    const RSImage* image = Find(module);
    if (image == nullptr)
        return nullptr;
    for (UInt32 i = 0; i < image->stringCount; ++i)
        if (image->strings[i].listId == listId && image->strings[i].index == index)
            return image->strings[i].utf8;
    return nullptr;
}
}  // namespace

GSResModule RSOpenModule(const RSImage* image)
{
    if (image == nullptr || image->magic != RSImageMagic)
        return InvalidResModule;
    std::lock_guard<std::mutex> g(Mods().lock);
    GSResModule id = Mods().next++;
    Mods().open[id] = image;
    Dl_info info{};
    if (dladdr(image, &info) != 0 && info.dli_fname != nullptr)
        Mods().files[id] = info.dli_fname;
    return id;
}

void RSCloseModule(GSResModule module)
{
    std::lock_guard<std::mutex> g(Mods().lock);
    Mods().open.erase(module);
    Mods().files.erase(module);
}

GSResModule RSModuleOfFile(const char* path)
{
    if (path == nullptr)
        return InvalidResModule;
    std::lock_guard<std::mutex> g(Mods().lock);
    // A module is nearly always asked for by the very name it was loaded
    // under; that needs no look at the file system, which resolving both
    // names (a system call per folder of each) would, on every string the
    // host reads from the module.
    for (const auto& f : Mods().files)
        if (f.second == path)
            return f.first;
    char* wanted = realpath(path, nullptr);
    std::string want = wanted != nullptr ? wanted : path;
    std::free(wanted);
    for (const auto& f : Mods().files) {
        char* real = realpath(f.second.c_str(), nullptr);
        bool same = real != nullptr && want == real;
        std::free(real);
        if (same)
            return f.first;
    }
    return InvalidResModule;
}

Int32 RSOpenModuleCount()
{
    std::lock_guard<std::mutex> g(Mods().lock);
    return static_cast<Int32>(Mods().open.size());
}

bool RSGetIndString(GS::UniString* out, GSResID listId, Int32 index, GSResModule module)
{
    const char* text = FindString(listId, index, module);
    if (text == nullptr || out == nullptr)
        return false;
    *out = GS::UniString(text, CC_UTF8);
    return true;
}

bool RSGetIndCString(char* buf, Int32 bufSize, GSResID listId, Int32 index, GSResModule module, GSCharCode code)
{
    if (buf == nullptr || bufSize <= 0)
        return false;
    const char* text = FindString(listId, index, module);
    if (text == nullptr)
        return false;
    std::u16string units = GS::DecodeText(text, CC_UTF8);
    CHUnicode2ANSI(units.c_str(), static_cast<Int32>(units.size()), buf, bufSize, code);
    return true;
}

const unsigned char* RSLoadResource(UInt32 type, GSResID id, GSResModule module, UInt32* size)
{
    const RSImage* image = Find(module);
    if (image == nullptr)
        return nullptr;
    for (UInt32 i = 0; i < image->blobCount; ++i)
        if (image->blobs[i].type == type && image->blobs[i].id == id) {
            if (size != nullptr)
                *size = image->blobs[i].size;
            return image->blobs[i].data;
        }
    return nullptr;
}
