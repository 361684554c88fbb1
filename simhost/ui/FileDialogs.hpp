// The user's side of the file dialogs the add-on shows: answers scripted in
// advance, one taken per dialog, and a record of every dialog shown.
#pragma once
#include "platform/dg/DGFileDialog.hpp"
#include <deque>
#include <string>
#include <vector>

namespace SimHost {

struct ShownFileDialog {
    Int32 type = 0;                    // 4: save
    std::vector<std::string> filters;  // as shown: "*.txt (txt, extension added)"
    std::vector<FTM::TypeID> filterTypes;  // the file type of each filter
    std::string chosen;                // the user's answer; empty when cancelled
};

class FileDialogScript {
public:
    // The user will choose this file (an absolute path) in the next dialog
    // that has no answer yet.
    void Choose(const std::string& path) { answers.push_back(path); }
    // The user will cancel it.
    void Cancel() { answers.push_back(std::string()); }
    USize Pending() const { return answers.size(); }

    // A dialog is shown: the next answer, or cancel when none is left; the
    // line for the host's events goes to `event`.
    bool Answer(const DG::FileDialog& dialog, IO::Location* chosen, std::string* event);

    std::vector<ShownFileDialog> shown;

private:
    std::deque<std::string> answers;
};

}  // namespace SimHost
