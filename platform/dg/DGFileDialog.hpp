// DG::FileDialog: the modal dialog in which the user chooses a file, with
// filters made from FTM file types. The window system plays the user's
// side (DGUserInput.hpp); without anyone to answer, the dialog is
// cancelled.
#pragma once
#include "platform/ftm/FileTypeManager.hpp"
#include "platform/io/Location.hpp"
#include <vector>

namespace DG {

class PLATFORM_API FileDialog {
public:
    // The dialog for saving a file. (The open dialogs have the numbers
    // below it; nothing here uses them.)
    enum Type : Int32 { Save = 4 };
    // What a filter does with the name the user types: nothing, or give a
    // name without extension the filter type's extension.
    enum FilterOption : Int32 { NoExtensionOption = 0, AppendExtension = 1 };

    struct Filter {
        FTM::TypeID type = FTM::UnknownType;
        GS::UniString extension;  // the type's, without the dot
        Int32 option = NoExtensionOption;
        GS::UniString text;  // what the dialog shows for it
    };

    explicit FileDialog(Type type);

    // Adds a filter for a registered file type: its index (0-based), or -1
    // when the type is unknown.
    Int32 AddFilter(FTM::TypeID type, Int32 option = NoExtensionOption);
    // The text shown for the filter; false for an index without a filter.
    bool SetFilterText(Int32 filterIndex, const GS::UniString& text);

    // Shows the dialog until the user answers: true when a file was chosen.
    // The first filter is the one shown selected, and its option applies to
    // the chosen name.
    bool Invoke();

    USize GetSelectionCount() const { return selected.size(); }
    // The first chosen file; an empty location when none was chosen.
    const IO::Location& GetSelectedFile() const;

    Type GetType() const { return type; }
    const std::vector<Filter>& GetFilters() const { return filters; }

private:
    Type type;
    std::vector<Filter> filters;
    std::vector<IO::Location> selected;
    IO::Location none;
};

}  // namespace DG
