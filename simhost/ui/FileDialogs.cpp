#include "simhost/ui/FileDialogs.hpp"

namespace SimHost {

bool FileDialogScript::Answer(const DG::FileDialog& dialog, IO::Location* chosen, std::string* event)
{
    ShownFileDialog record;
    record.type = dialog.GetType();
    std::string line = std::string("file dialog (") + (record.type == DG::FileDialog::Save ? "save" : "type " + std::to_string(record.type));
    for (const DG::FileDialog::Filter& f : dialog.GetFilters()) {
        std::string filter = "\"" + f.text.ToUtf8() + "\" (" + f.extension.ToUtf8() +
                             (f.option == DG::FileDialog::AppendExtension ? ", extension added" : "") + ")";
        record.filters.push_back(filter);
        record.filterTypes.push_back(f.type);
        line += ", filter " + filter;
    }
    line += "): ";
    bool answered = !answers.empty();
    if (answered) {
        record.chosen = answers.front();
        answers.pop_front();
    }
    if (record.chosen.empty()) {
        line += answered ? "cancelled" : "cancelled (no answer scripted)";
    } else {
        *chosen = IO::Location(record.chosen);
        line += "chose " + record.chosen;
        // The dialog adds the first filter's extension to a name without
        // one: the line names the file the add-on gets.
        const auto& filters = dialog.GetFilters();
        const size_t slash = record.chosen.find_last_of('/');
        const std::string last = slash == std::string::npos ? record.chosen : record.chosen.substr(slash + 1);
        if (!filters.empty() && filters.front().option == DG::FileDialog::AppendExtension &&
            !filters.front().extension.IsEmpty() && last.find('.') == std::string::npos)
            line += " (saved as " + record.chosen + "." + filters.front().extension.ToUtf8() + ")";
    }
    shown.push_back(record);
    if (event != nullptr)
        *event = line;
    return !record.chosen.empty();
}

}  // namespace SimHost
