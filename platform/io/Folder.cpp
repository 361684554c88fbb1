#include "platform/io/Folder.hpp"
#include <algorithm>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace IO {

GSErrCode Folder::Enumerate(EnumerationCallback callback, Int32 linkProcessing, UInt32 flags, void* userData) const
{
    DIR* dir = opendir(location.ToPath().c_str());
    if (dir == nullptr)
        return FolderNotFound;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());

    for (const std::string& name : names) {
        std::string path = location.ToPath() + "/" + name;
        struct stat st{};
        int rc = linkProcessing == DoNotFollowLinks ? lstat(path.c_str(), &st) : stat(path.c_str(), &st);
        bool isFolder = rc == 0 && S_ISDIR(st.st_mode);
        if (isFolder && (flags & EnumerateFolders) == 0)
            continue;
        if (callback != nullptr && !callback(*this, Name(name.c_str()), isFolder, userData))
            break;
    }
    return NoError;
}

}  // namespace IO
