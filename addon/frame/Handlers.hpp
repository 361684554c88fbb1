// The handlers the add-on installs into the host at initialisation.
#pragma once
#include "addon/services/ResStrings.hpp"
#include "platform/api/APIdefs.hpp"

// The add-on's own menu and its item in a host menu (string lists).
constexpr Int16 AddOnMenuId = ResStr::AddOnMenu::ListId;
constexpr Int16 HostMenuItemId = ResStr::HostMenuItem::ListId;

GSErrCode MenuCommandHandler(const API_MenuParams* menuParams);
GSErrCode ElementEventHandler(const API_NotifyElementType* elemType);
// Sets the palette's entries by the first selected item (kind 0, or no
// item at all: nothing selected).
GSErrCode SelectionChangeHandler(const API_Neig* selElemNeig);
