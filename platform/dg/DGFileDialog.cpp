#include "platform/dg/DGFileDialog.hpp"
#include "platform/dg/DGInternal.hpp"

namespace DG {

FileDialog::FileDialog(Type type) : type(type) {}

Int32 FileDialog::AddFilter(FTM::TypeID typeId, Int32 option)
{
    FTM::FileType fileType;
    if (!FTM::FileTypeManager::GetType(typeId, &fileType))
        return -1;
    Filter filter;
    filter.type = typeId;
    filter.extension = fileType.GetExtension();
    filter.option = option;
    filter.text = fileType.GetDescription();
    filters.push_back(filter);
    return static_cast<Int32>(filters.size() - 1);
}

bool FileDialog::SetFilterText(Int32 filterIndex, const GS::UniString& text)
{
    if (filterIndex < 0 || static_cast<USize>(filterIndex) >= filters.size())
        return false;
    filters[static_cast<USize>(filterIndex)].text = text;
    return true;
}

bool FileDialog::Invoke()
{
    selected.clear();
    IO::Location chosen;
    if (!Internal::AnswerFileDialog(*this, &chosen) || chosen.IsEmpty())
        return false;
    if (!filters.empty() && filters.front().option == AppendExtension && !filters.front().extension.IsEmpty() &&
        chosen.GetLastLocalName().GetExtension().IsEmpty()) {
        IO::Name last = chosen.GetLastLocalName();
        chosen.DeleteLastLocalName();
        chosen.AppendToLocal(IO::Name(last.ToString() + GS::UniString(".", CC_UTF8) + filters.front().extension));
    }
    selected.push_back(chosen);
    return true;
}

const IO::Location& FileDialog::GetSelectedFile() const { return selected.empty() ? none : selected.front(); }

}  // namespace DG
