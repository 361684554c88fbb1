// The user at the add-on's modal dialogs: the answers scripted in advance
// and the dialogs shown, with their items as the user saw them.
#pragma once
#include "platform/dg/DGAlert.hpp"
#include "platform/dg/DGModal.hpp"
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace SimHost {

// What the user does at one dialog: the actions in order, then the close
// box when the dialog is still open. `dialog` 0 answers whichever dialog
// comes next; another id answers only that dialog.
struct DialogAnswer {
    Int16 dialog = 0;
    std::vector<DG::UserInput::DialogAction> actions;
};

struct ShownModalDialog {
    Int16 resourceId = 0;
    std::string title;
    std::vector<std::string> itemsShown;    // after the procedure's initialisation
    std::vector<std::string> actions;       // each action and what became of it
    std::vector<std::string> itemsAtClose;  // as they were when the dialog closed
    std::vector<DG::DialogItemState> items;  // as the user last saw them
    Int16 result = 0;
    bool closed = false;
};

// An alert from the add-on's resources as the user saw it, and the button
// the user pressed.
struct ShownAlert {
    Int16 resourceId = 0;
    std::string title, text, detail;
    std::vector<std::string> buttons;  // button n at n - 1
    Int16 result = 0;
};
// How a picture's file is named in the report (the host's temporary folder
// shortened to <temp>).
using PathShown = std::function<std::string(const std::string& path)>;

// One line per item: `3 static text "..."`, with its value, and "hidden"
// or "disabled" when so. A list view lists its items: each one's number,
// text, picture (size and file) and whether it is selected.
std::vector<std::string> DescribeDialogItems(const DG::ModalDialogState& dialog, const PathShown& shown = {});
std::string DescribeDialogAction(const DG::ModalDialogState& dialog, const DG::UserInput::DialogAction& action);

}  // namespace SimHost
