// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <string>

namespace dravlet {

// What a screen reader asks a control for through MSAA (and Windows' UI Automation through
// its MSAA proxy): the control's standard accessible object, but with the name the program
// gives. Answers WM_GETOBJECT's OBJID_CLIENT; any other request is the system's.
LRESULT accessibleObjectNamed(HWND control, WPARAM flags, LPARAM objectId, const std::wstring& name);

}  // namespace dravlet
