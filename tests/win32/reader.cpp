// SPDX-License-Identifier: MIT
// Reads the running Dravlet.exe from outside, as a screen reader or a test would: one line
// for the window (its client size), then one a control, in the order of creation:
//   name TAB visible TAB left,top,width,height TAB focused TAB text TAB accessible name
// Rectangles in the client area's pixels; the name through MSAA, as Narrator or NVDA asks.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

const char* const names[] = {"cmdSubmit", "txtAnswer", "txtProb", "cmdRun",   "cmdNext",  "cmdQuit",
                             "Label3",    "Label2",    "lblWrong", "Label1", "lblRight", "lblResponse"};
constexpr int firstControlId = 101;

std::string utf8(const wchar_t* text, int length)
{
    std::string bytes(static_cast<std::size_t>(length) * 3, '\0');
    bytes.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text, length, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

// WM_GETTEXT, since GetWindowText does not ask a window of another process.
std::string textOf(HWND control)
{
    wchar_t text[4096] = {};
    const auto length = SendMessageW(control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return utf8(text, static_cast<int>(length));
}

std::string accessibleName(HWND control)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
        return "(no accessible object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string result = "(no name)";
    if (object->get_accName(self, &name) == S_OK && name != nullptr) {
        result = utf8(name, static_cast<int>(SysStringLen(name)));
        SysFreeString(name);
    }
    object->Release();
    return result;
}

}  // namespace

int main()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HWND window = FindWindowW(L"cmdDravlet", L"Dravlet Problem Practice Version 2.1");
    if (window == nullptr) {
        std::puts("no window");
        return 1;
    }
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    RECT client{};
    GetClientRect(window, &client);
    std::printf("window\t%ld,%ld\n", client.right, client.bottom);
    for (int i = 0; i < 12; ++i) {
        const HWND control = GetDlgItem(window, firstControlId + i);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        std::printf("%s\t%d\t%ld,%ld,%ld,%ld\t%d\t%s\t%s\n", names[i], IsWindowVisible(control) ? 1 : 0, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, control == thread.hwndFocus ? 1 : 0, textOf(control).c_str(),
                    accessibleName(control).c_str());
    }
    CoUninitialize();
    return 0;
}
