// SPDX-License-Identifier: MIT
// Reads the running Dravlet.exe from outside, as a screen reader or a test would: one line
// for the window (its client size), then one a control, in the order of creation:
//   name TAB visible TAB left,top,width,height TAB focused TAB text TAB accessible name
//   TAB the name through IDispatch TAB 1 if IServiceProvider is refused
// Rectangles in the client area's pixels; the name through MSAA, as Narrator or NVDA asks.
//   reader --events (each focus and name change, as a hook hears them), --version F (F's version record)
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
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

std::string text(const wchar_t* value) { return value != nullptr ? utf8(value, static_cast<int>(wcslen(value))) : "(no name)"; }

// WM_GETTEXT, since GetWindowText does not ask a window of another process.
std::string textOf(HWND control)
{
    std::wstring text(static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    const auto length = SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return utf8(text.data(), static_cast<int>(length));
}

// As an early-bound client (accName) and a late-bound one (IDispatch) read the name.
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
    BSTR early = nullptr;
    VARIANT late{};
    DISPPARAMS parameters{&self, nullptr, 1, 0};
    object->get_accName(self, &early);
    object->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &parameters, &late, nullptr, nullptr);
    IUnknown* provider = nullptr;
    const bool refused = object->QueryInterface(__uuidof(IServiceProvider), reinterpret_cast<void**>(&provider)) != S_OK;
    const std::string result = text(early) + "\t" + text(late.vt == VT_BSTR ? late.bstrVal : nullptr) + (refused ? "\t1" : "\t0");
    SysFreeString(early);
    VariantClear(&late);
    object->Release();
    return result;
}

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND control, LONG object, LONG, DWORD, DWORD)
{
    const int id = GetDlgCtrlID(control) - firstControlId;
    if (object == OBJID_CLIENT && GetAncestor(control, GA_ROOT) == FindWindowW(L"cmdDravlet", nullptr)) {
        std::printf("%s\t%s\n", event == EVENT_OBJECT_FOCUS ? "focus" : "name", id >= 0 && id < 12 ? names[id] : "window");
        std::fflush(stdout);
    }
}

void printVersion(const wchar_t* file)
{
    std::string record(GetFileVersionInfoSizeW(file, nullptr), '\0');
    GetFileVersionInfoW(file, 0, static_cast<DWORD>(record.size()), record.data());
    UINT size = 0;
    for (const wchar_t* field : {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
                                 L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
        wchar_t* value = nullptr;
        VerQueryValueW(record.data(), (std::wstring(L"\\StringFileInfo\\040904B0\\") + field).c_str(),
                       reinterpret_cast<void**>(&value), &size);
        std::printf("%s\t%s\n", text(field).c_str(), text(value).c_str());
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    MSG message;
    if (mode == L"--events" && SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, onEvent, 0, 0,
                                               WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS) != nullptr) {
        for (std::puts("hooked"), std::fflush(stdout); GetMessageW(&message, nullptr, 0, 0) > 0;) {
            DispatchMessageW(&message);
        }
    }
    if (mode == L"--version" && argc > 2) {
        printVersion(argv[2]);
        return 0;
    }
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
