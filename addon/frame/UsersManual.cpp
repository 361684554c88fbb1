#include "addon/frame/UsersManual.hpp"
#include "addon/host/HostCalls.hpp"
#include "platform/win/Windows.hpp"
#include <cstring>

namespace {

constexpr Int32 ShowDefault = 10;  // the shell shows the application as it starts by default

bool HasPdfExtension(const IO::Name& name)
{
    return std::strcmp(name.GetExtension().ToCStr(CC_Default).Get(), "pdf") == 0;
}

}  // namespace

bool FindManualPdf(const IO::Folder&, const IO::Name& entryName, bool, void* userData)
{
    if (!HasPdfExtension(entryName))
        return true;
    auto* location = static_cast<IO::Location*>(userData);
    location->DeleteLastLocalName();
    location->AppendToLocal(entryName);
    return false;
}

void OpenUsersManual()
{
    IO::Location manual;
    HostOwnLocation(&manual);
    IO::Location folderLocation = manual;
    if (folderLocation.DeleteLastLocalName()) {
        IO::Folder folder(folderLocation);
        folder.Enumerate(FindManualPdf, IO::Folder::FollowLinks, IO::Folder::EnumerateFolders, &manual);
    }
    // Still the add-on file itself when the folder holds no manual.
    if (!HasPdfExtension(manual.GetLastLocalName()))
        return;
    GS::UniString path;
    manual.ToPath(&path);
    // The converted path is held whole, however long the folder names are.
    GS::UniString::CStr file = path.ToCStr(CC_WestEuropean);
    ShellExecuteA(HostMainWindow(), "open", file.Get(), nullptr, nullptr, ShowDefault);
}
