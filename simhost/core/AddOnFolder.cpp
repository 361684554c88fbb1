#include "simhost/core/AddOnFolder.hpp"
#include "simhost/library/ActiveLibraries.hpp"
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace SimHost {

namespace fs = std::filesystem;

AddOnFolder::AddOnFolder(const std::string& addOnFile, bool withLibrary, const std::string& subPath)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/simhost-addon-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr)
        throw std::runtime_error("cannot create a folder for the add-on in " + pattern);
    root = name.data();
    folder = subPath.empty() ? root : root + "/" + subPath;
    fs::create_directories(folder);
    fs::path source(addOnFile);
    addOn = folder + "/" + source.filename().string();
    fs::copy_file(source, addOn);
    if (withLibrary) {
        fs::path library(ActiveLibraries::ContainerBeside(addOnFile));
        fs::copy_file(library, folder + "/" + library.filename().string());
    }
}

AddOnFolder::~AddOnFolder()
{
    for (const auto& [name, value] : savedEnvironment) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

void AddOnFolder::SetEnvironment(const std::string& name, const char* value)
{
    bool saved = false;
    for (const auto& entry : savedEnvironment)
        saved = saved || entry.first == name;
    if (!saved) {
        const char* now = std::getenv(name.c_str());
        savedEnvironment.emplace_back(name, now != nullptr ? std::optional<std::string>(now) : std::nullopt);
    }
    if (value != nullptr)
        setenv(name.c_str(), value, 1);
    else
        unsetenv(name.c_str());
}

void AddOnFolder::AddFile(const std::string& name, const std::string& content)
{
    std::ofstream(folder + "/" + name, std::ios::binary) << content;
}

void AddOnFolder::AddFolder(const std::string& name) { fs::create_directories(folder + "/" + name); }

}  // namespace SimHost
