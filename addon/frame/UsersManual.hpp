// The user's manual: the first PDF file in the add-on's folder.
#pragma once
#include "platform/io/Folder.hpp"

// Opens the manual with the shell; nothing happens when there is none.
void OpenUsersManual();

// The folder enumeration's callback. `userData` is the add-on file's
// location; the first entry with the extension "pdf" (exactly so, file or
// folder) takes the add-on's name in it and ends the enumeration.
bool FindManualPdf(const IO::Folder& folder, const IO::Name& entryName, bool isFolder, void* userData);
