// A temporary folder that holds a copy of an add-on file, so that a test or
// scenario controls what lies beside the add-on (its object library, a
// manual, sub-folders). It is removed with everything in it when it goes;
// the add-on copy must be unloaded first.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace SimHost {

class AddOnFolder {
public:
    // Copies `addOnFile` into the new folder, or into `subPath` below it
    // (created; names separated by '/'), and with `withLibrary` also the
    // object library container that lies beside the original.
    AddOnFolder(const std::string& addOnFile, bool withLibrary, const std::string& subPath = "");
    ~AddOnFolder();
    AddOnFolder(const AddOnFolder&) = delete;
    AddOnFolder& operator=(const AddOnFolder&) = delete;

    // The folder that holds the add-on copy, and the copy.
    const std::string& Folder() const { return folder; }
    const std::string& AddOnPath() const { return addOn; }

    // Entries beside the add-on copy.
    void AddFile(const std::string& name, const std::string& content = "");
    void AddFolder(const std::string& name);

    // Sets (or, with null, removes) an environment variable for what runs
    // beside the add-on, such as the scripted wall-geometry library; each
    // is put back as it was when the folder goes.
    void SetEnvironment(const std::string& name, const char* value);

private:
    std::string root, folder, addOn;
    std::vector<std::pair<std::string, std::optional<std::string>>> savedEnvironment;
};

}  // namespace SimHost
