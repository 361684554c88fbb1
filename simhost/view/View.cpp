#include "simhost/view/View.hpp"
#include <cstdlib>
#include <filesystem>
#include <stdlib.h>
#include <sys/stat.h>

namespace SimHost {

namespace fs = std::filesystem;

TemporaryFolder::~TemporaryFolder()
{
    if (!path.empty() && !keep) {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path, ignored);
    }
}

void TemporaryFolder::KeepIn(const std::string& folder)
{
    path = folder;
    keep = true;
}

void TemporaryFolder::SetState(State newState)
{
    std::error_code ignored;
    if (newState == State::Missing) {
        if (!path.empty()) {
            fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
            fs::remove_all(path, ignored);
        }
    } else if (newState == State::ReadOnly) {
        // Made now, so that it exists to be read-only; the host's own check
        // (MayWrite) holds also for a user the file system lets write.
        state = State::Present;
        const std::string made = Get();
        if (!made.empty())
            fs::permissions(made, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace, ignored);
    } else if (!path.empty() && fs::exists(path, ignored)) {
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    state = newState;
}

std::string TemporaryFolder::Get()
{
    if (state == State::Missing)
        return std::string();
    std::error_code error;
    if (path.empty()) {
        std::string pattern = (fs::temp_directory_path(error) / "simhost-temp-XXXXXX").string();
        if (error || mkdtemp(pattern.data()) == nullptr)
            return std::string();
        path = pattern;
        return path;
    }
    if (!fs::is_directory(path, error) && !fs::create_directories(path, error))
        return std::string();
    return path;
}

bool TemporaryFolder::MayWrite(const std::string& file) const
{
    if (state != State::ReadOnly || path.empty())
        return true;
    std::error_code error;
    const fs::path parent = fs::weakly_canonical(fs::path(file).parent_path(), error);
    return error || parent != fs::weakly_canonical(path, error);
}

std::string TemporaryFolder::Shown(const std::string& file) const
{
    if (!path.empty() && file.size() > path.size() && file.compare(0, path.size(), path) == 0 &&
        file[path.size()] == '/')
        return "<temp>" + file.substr(path.size());
    return file;
}

}  // namespace SimHost
