// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <string>

namespace dravlet {

// What a screen reader asks a control for through MSAA (and Windows' UI Automation through
// its MSAA proxy) where Windows cannot annotate the control's name itself: an object of the
// program's own with the name it gives, the rest read from the control's standard object.
// Answers WM_GETOBJECT's OBJID_CLIENT; any other request is the system's.
LRESULT accessibleObjectNamed(HWND control, WPARAM flags, LPARAM objectId, const std::wstring& name);

}  // namespace dravlet
