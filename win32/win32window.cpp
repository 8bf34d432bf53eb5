// SPDX-License-Identifier: MIT
// The few GUIDs of dynamic annotation defined here: the uuid library's would bring
// thousands more into the file.
#include <windows.h>
#include <initguid.h>
#include <oleacc.h>

#include "win32/win32window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "engine/dravlet.h"
#include "runtime/layout.h"
#include "win32/accessible.h"

namespace dravlet {

namespace {

std::wstring wide(std::string_view utf8)
{
    std::wstring text(utf8.size(), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                             text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string textOf(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    std::string utf8(text.size() * 3, '\0');
    utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                             utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
    return utf8;
}

// The controls in the order the window creates them; their places in this table are
// their IDs' offsets.
enum Place { Submit, Answer, Problem, Run, Next, Quit, Notice, WrongCaption, WrongCount, RightCaption, RightCount, Response };

struct ControlPlan {
    const wchar_t* windowClass;
    DWORD style;
    DWORD extendedStyle;
    layout::Rect rect;
    double points;
    bool bold;
    const char* startText;
};

// Every control is a group of its own, so the arrow keys never move the focus (into a
// label, say); Tab moves it between the tab stops, in the order of tabOrder below.
constexpr DWORD child = WS_CHILD | WS_GROUP;
constexpr DWORD button = child | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD label = child | SS_NOPREFIX | SS_CENTERIMAGE;
const ControlPlan plans[Win32Window::controlCount] = {
    {L"BUTTON", button, 0, layout::submitRect, layout::defaultPointSize, false, "Submit"},
    {L"EDIT", child | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, layout::answerRect,
     layout::answerPointSize, false, ""},
    // Off the tab chain: Tab never lands in a box the learner cannot type in; a click still
    // focuses it, to select and copy the problem.
    {L"EDIT", child | WS_VISIBLE | ES_MULTILINE | ES_READONLY, WS_EX_CLIENTEDGE, layout::problemRect,
     layout::problemPointSize, false, ""},
    {L"BUTTON", button, 0, layout::runRect, layout::defaultPointSize, false, "Start"},
    {L"BUTTON", button, 0, layout::nextRect, layout::defaultPointSize, false, "Next"},
    {L"BUTTON", button, 0, layout::quitRect, layout::defaultPointSize, false, "Quit"},
    {L"STATIC", label | WS_VISIBLE | SS_LEFT, 0, layout::noticeRect, layout::defaultPointSize, false, nullptr},
    {L"STATIC", label | WS_VISIBLE | SS_CENTER, 0, layout::wrongCaptionRect, layout::defaultPointSize, false, nullptr},
    {L"STATIC", label | WS_VISIBLE | SS_CENTER | WS_BORDER, 0, layout::wrongCountRect, layout::countPointSize, false,
     nullptr},
    {L"STATIC", label | WS_VISIBLE | SS_CENTER, 0, layout::rightCaptionRect, layout::defaultPointSize, false, nullptr},
    {L"STATIC", label | WS_VISIBLE | SS_CENTER | WS_BORDER, 0, layout::rightCountRect, layout::countPointSize, false,
     nullptr},
    {L"STATIC", label | WS_VISIBLE | SS_LEFT, 0, layout::responseRect, layout::responsePointSize, layout::responseBold,
     nullptr},
};
constexpr Place tabOrder[] = {Run, Answer, Submit, Next, Quit};

// The boxes whose colour is part of what they mean, with black text on them whatever the
// theme, in the order of the window's brushes.
constexpr std::pair<Place, layout::Colour> fixedColours[] = {{Answer, layout::answerBackground},
                                                            {Problem, layout::problemBackground},
                                                            {RightCount, layout::rightBackground},
                                                            {WrongCount, layout::wrongBackground}};

COLORREF colourRef(layout::Colour c)
{
    return RGB(c.red, c.green, c.blue);
}

int placeOf(TextBox box)
{
    return box == TextBox::txtAnswer ? Answer : Problem;
}

int placeOf(Button b)
{
    switch (b) {
    case Button::cmdSubmit: return Submit;
    case Button::cmdRun: return Run;
    case Button::cmdNext: return Next;
    case Button::cmdQuit: return Quit;
    }
    return Quit;
}

constexpr Label labelAt[] = {Label::Label3, Label::Label2, Label::lblWrong, Label::Label1, Label::lblRight,
                             Label::lblResponse};

int placeOf(Label l)
{
    for (int place = Notice; place <= Response; ++place) {
        if (labelAt[place - Notice] == l) {
            return place;
        }
    }
    return Response;
}

bool isLabel(int place)
{
    return place >= Notice;
}

// The window's DPI where Windows (10 and later) has it per monitor, else the system's.
UINT dpiOf(HWND window)
{
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow != nullptr) {
        return dpiForWindow(window);
    }
    const HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return static_cast<UINT>(dpi);
}

// Windows' "Text size" (Settings, Accessibility), 100 to 225 per cent: the whole window
// follows it, as the other faces follow the desktop's text size.
UINT textScaleOf()
{
    DWORD percent = 100;
    DWORD size = sizeof percent;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Accessibility", L"TextScaleFactor", RRF_RT_REG_DWORD,
                     nullptr, &percent, &size)
        != ERROR_SUCCESS) {
        return 100;
    }
    return std::clamp<UINT>(percent, 100, 225);
}

bool contrastThemeOn()
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE
           && (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// "MS Sans Serif" is a bitmap face in a few sizes; at any other size, or where it is
// missing, its TrueType successor with the same metrics stands in. The size is in
// points at the window's DPI and text size.
OwnedFont makeFont(double points, bool bold, UINT dpi, UINT textScale)
{
    const int height = -static_cast<int>(std::lround(points * dpi * textScale / (72.0 * 100)));
    for (const wchar_t* face : {L"MS Sans Serif", L"Microsoft Sans Serif"}) {
        OwnedFont font(CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                   face));
        const HDC dc = GetDC(nullptr);
        const HGDIOBJ before = SelectObject(dc, font.get());
        TEXTMETRICW metrics{};
        wchar_t realised[LF_FACESIZE] = {};
        GetTextMetricsW(dc, &metrics);
        GetTextFaceW(dc, LF_FACESIZE, realised);
        SelectObject(dc, before);
        ReleaseDC(nullptr, dc);
        if (std::wstring_view(realised) == face && metrics.tmHeight - metrics.tmInternalLeading == -height) {
            return font;
        }
        if (std::wstring_view(face) != L"MS Sans Serif") {
            return font;
        }
    }
    return {};
}

}  // namespace

Win32Window::Win32Window(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"cmdDravlet";
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    RegisterClassExW(&windowClass);
    CreateWindowExW(0, windowClass.lpszClassName, wide(layout::windowTitle).c_str(), WS_OVERLAPPEDWINDOW,
                    CW_USEDEFAULT, CW_USEDEFAULT, layout::clientWidth, layout::clientHeight, nullptr, nullptr,
                    instance, this);
}

Win32Window::~Win32Window()
{
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
}

int Win32Window::run(int show)
{
    if (m_window == nullptr) {
        MessageBoxW(nullptr, L"Dravlet could not create its window.", wide(layout::windowTitle).c_str(),
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    ShowWindow(m_window, show);
    focus(startFocus);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Enter held down presses once: its repeats would press the button that the press
        // moved the focus to (Next, after Submit), before the verdict is read.
        constexpr LPARAM repeated = LPARAM{1} << 30;
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && (message.lParam & repeated) != 0) {
            continue;
        }
        // Tab and Shift+Tab between the tab stops, Enter to the window (onCommand).
        if (!IsDialogMessageW(m_window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK Win32Window::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self != nullptr) {
        self->m_window = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return self != nullptr && self->m_window != nullptr ? self->onMessage(message, wParam, lParam)
                                                         : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Window::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: onCreate(); return 0;
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message, wParam, lParam);
    case WM_DPICHANGED: onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_GETMINMAXINFO: onMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_ACTIVATE: onActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_SETFOCUS: onActivate(true); return 0;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE: onSettingChange(); return DefWindowProcW(m_window, message, wParam, lParam);
    case WM_DESTROY: onDestroy(); return 0;
    default: return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void Win32Window::onCreate()
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_window, GWLP_HINSTANCE));
    for (int place = 0; place < controlCount; ++place) {
        const ControlPlan& plan = plans[place];
        const std::string_view text =
            plan.startText != nullptr ? std::string_view(plan.startText)
            : isLabel(place)          ? startCaption(labelAt[place - Notice])
                                      : std::string_view();
        const bool shown = plan.windowClass != std::wstring_view(L"BUTTON")
                           || startsVisible(place == Submit ? Button::cmdSubmit
                                            : place == Run  ? Button::cmdRun
                                            : place == Next ? Button::cmdNext
                                                            : Button::cmdQuit);
        m_controls[static_cast<std::size_t>(place)] = CreateWindowExW(
            plan.extendedStyle, plan.windowClass, wide(text).c_str(), plan.style | (shown ? WS_VISIBLE : 0), 0, 0, 0, 0,
            m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId + place)), instance, nullptr);
    }
    SendMessageW(control(Answer), EM_SETLIMITTEXT, layout::answerMaxLength, 0);
    for (const Place place : {Answer, Problem, Next}) {
        SetWindowSubclass(control(place), namedControlProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    // Tab follows the order of the windows: the tab stops are put first, in tab order.
    HWND after = HWND_TOP;
    for (const Place place : tabOrder) {
        SetWindowPos(control(place), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = control(place);
    }
    for (std::size_t i = 0; i < m_brushes.size(); ++i) {
        m_brushes[i].reset(CreateSolidBrush(colourRef(fixedColours[i].second)));
    }
    m_answerName = wide(answerBoxName(""));
    m_nextName = wide(nextButtonName("", startCaption(Label::lblRight), startCaption(Label::lblWrong)));
    // Windows' own way to rename a standard control, which UI Automation reads as well as
    // MSAA; where it is missing (Wine), the controls answer with named objects of their own.
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                   reinterpret_cast<void**>(&m_annotations)))
        && FAILED(m_annotations->SetHwndPropStr(control(Problem), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                PROPID_ACC_NAME, L"Problem"))) {
        m_annotations->Release();
        m_annotations = nullptr;
    }
    annotate(control(Answer), m_answerName);
    annotate(control(Next), m_nextName);
    m_textScale = textScaleOf();
    m_contrastTheme = contrastThemeOn();
    applyDpi(dpiOf(m_window));
    fitClientArea();
}

void Win32Window::onDestroy()
{
    if (m_annotations != nullptr) {
        for (const Place place : {Problem, Answer, Next}) {
            m_annotations->ClearHwndProps(control(place), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                          &PROPID_ACC_NAME, 1);
        }
        m_annotations->Release();
        m_annotations = nullptr;
    }
    PostQuitMessage(0);
}

void Win32Window::onCommand(int id, int code)
{
    // Enter, from the dialog keys, presses the focused button; in the answer box it
    // presses nothing, and no button is pressed by Esc (IDCANCEL).
    int place = id - firstControlId;
    if (id == IDOK) {
        place = -1;
        for (const Place b : {Submit, Run, Next, Quit}) {
            place = GetFocus() == control(b) ? b : place;
        }
    } else if (code != BN_CLICKED) {
        return;
    }
    if (m_form == nullptr || m_handling || place < 0 || place >= controlCount || !IsWindowVisible(control(place))) {
        return;
    }
    m_handling = true;
    switch (place) {
    case Run: m_form->cmdRun_Click(); break;
    case Submit: m_form->cmdSubmit_Click(); break;
    case Next: m_form->cmdNext_Click(); break;
    case Quit: m_form->cmdQuit_Click(); break;
    default: break;
    }
    m_handling = false;
    settle(std::exchange(m_focusAfter, nullptr));
}

void Win32Window::settle(HWND focus)
{
    // The control that takes the focus is renamed before it does, and the button that goes
    // is hidden only once the focus has left it: hiding a focused control hands the focus
    // to the window on the way. Any other renaming is told last, to a control without focus.
    if (focus != nullptr) {
        announceName(focus);
        if (GetFocus() != focus) {
            SetFocus(focus);
        }
    }
    for (int place = 0; place < controlCount; ++place) {
        if (std::exchange(m_hideAfter[static_cast<std::size_t>(place)], false)) {
            ShowWindow(control(place), SW_HIDE);
        }
    }
    for (const Place place : {Answer, Next}) {
        announceName(control(place));
    }
}

void Win32Window::announceName(HWND named)
{
    const int place = GetDlgCtrlID(named) - firstControlId;
    if (place >= 0 && place < controlCount && std::exchange(m_renamed[static_cast<std::size_t>(place)], false)) {
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, named, OBJID_CLIENT, CHILDID_SELF);
    }
}

LRESULT Win32Window::onControlColour(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (std::size_t i = 0; i < m_brushes.size(); ++i) {
        if (control != this->control(fixedColours[i].first)) {
            continue;
        }
        if (m_contrastTheme) {
            // A contrast theme's own window colours, as the page takes in forced colours.
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        SetTextColor(dc, colourRef(layout::fixedText));
        SetBkColor(dc, colourRef(fixedColours[i].second));
        return reinterpret_cast<LRESULT>(m_brushes[i].get());
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void Win32Window::onDpiChanged(UINT dpi, const RECT& suggested)
{
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    applyDpi(dpi);
    fitClientArea();
}

void Win32Window::onMinMaxInfo(MINMAXINFO& info) const
{
    // The frame stays sizable, but never so small that controls are cut off.
    RECT outer{}, inner{};
    if (m_window != nullptr && GetWindowRect(m_window, &outer) && GetClientRect(m_window, &inner)) {
        info.ptMinTrackSize.x = scaled(layout::clientWidth) + (outer.right - outer.left) - inner.right;
        info.ptMinTrackSize.y = scaled(layout::clientHeight) + (outer.bottom - outer.top) - inner.bottom;
    }
}

void Win32Window::onActivate(bool active)
{
    // The focus comes back to the control that had it when the window went to the back,
    // if it is still there to take it; a handler places the focus itself.
    const HWND focused = GetFocus();
    if (!active && focused != nullptr && IsChild(m_window, focused)) {
        m_lastFocus = focused;
    } else if (active && !m_handling && m_lastFocus != nullptr && IsWindowVisible(m_lastFocus)) {
        SetFocus(m_lastFocus);
    }
}

void Win32Window::onSettingChange()
{
    // The text size or the contrast theme may have changed, and with the theme the frame:
    // the window is refitted when its controls' size changed or they no longer fit, and
    // otherwise keeps the size the learner gave it.
    const UINT textScale = textScaleOf();
    m_contrastTheme = contrastThemeOn();
    RECT inner{};
    GetClientRect(m_window, &inner);
    if (textScale != m_textScale) {
        m_textScale = textScale;
        applyDpi(m_dpi);
        fitClientArea();
    } else if (!IsIconic(m_window)
               && (inner.right < scaled(layout::clientWidth) || inner.bottom < scaled(layout::clientHeight))) {
        fitClientArea();
    }
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32Window::applyDpi(UINT dpi)
{
    m_dpi = dpi;
    for (int place = 0; place < controlCount; ++place) {
        const layout::Rect& r = plans[place].rect;
        MoveWindow(control(place), scaled(r.left), scaled(r.top), scaled(r.width), scaled(r.height), TRUE);
        m_fonts[static_cast<std::size_t>(place)].reset();
        fitCaption(place);
    }
}

void Win32Window::fitClientArea()
{
    RECT outer{}, inner{};
    GetWindowRect(m_window, &outer);
    GetClientRect(m_window, &inner);
    SetWindowPos(m_window, nullptr, 0, 0, scaled(layout::clientWidth) + (outer.right - outer.left) - inner.right,
                 scaled(layout::clientHeight) + (outer.bottom - outer.top) - inner.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::fitCaption(int place)
{
    // A caption too wide or too tall for its box (a long count) is shown at the largest
    // smaller size that fits, never cut off.
    const ControlPlan& plan = plans[place];
    const HWND box = control(place);
    const std::wstring caption = wide(textOf(box));
    RECT inside{};
    GetClientRect(box, &inside);
    const HDC dc = GetDC(box);
    OwnedFont font;
    for (double points = plan.points; !font; points -= 0.25) {
        OwnedFont candidate = makeFont(points, plan.bold, m_dpi, m_textScale);
        SIZE size{};
        const HGDIOBJ before = SelectObject(dc, candidate.get());
        GetTextExtentPoint32W(dc, caption.data(), static_cast<int>(caption.size()), &size);
        SelectObject(dc, before);
        if (!isLabel(place) || (size.cx <= inside.right && size.cy <= inside.bottom) || points < 5.25) {
            font = std::move(candidate);
        }
    }
    ReleaseDC(box, dc);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    m_fonts[static_cast<std::size_t>(place)] = std::move(font);
}

int Win32Window::scaled(int logical) const
{
    return MulDiv(logical, static_cast<int>(m_dpi * m_textScale), layout::logicalDpi * 100);
}

LRESULT CALLBACK Win32Window::namedControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                                    UINT_PTR, DWORD_PTR self)
{
    auto* window = reinterpret_cast<Win32Window*>(self);
    // The problem box is named as on the other faces; no label stands before it to name it.
    static const std::wstring problemName = L"Problem";
    if (message == WM_GETOBJECT && window->m_annotations == nullptr) {
        return accessibleObjectNamed(control, wParam, lParam,
                                     control == window->control(Answer)  ? window->m_answerName
                                     : control == window->control(Next) ? window->m_nextName
                                                                         : problemName);
    }
    // Tab leaves the problem box, as from every other control, though it takes all keys.
    if (message == WM_GETDLGCODE && control == window->control(Problem)) {
        return DefSubclassProc(control, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

void Win32Window::rename(HWND control, std::wstring name)
{
    std::wstring& current = control == this->control(Answer) ? m_answerName : m_nextName;
    // Renamed only when that changes: every renaming is an event to each assistive client.
    if (name != current) {
        current = std::move(name);
        annotate(control, current);
        m_renamed[static_cast<std::size_t>(GetDlgCtrlID(control) - firstControlId)] = true;
        if (!m_handling) {
            announceName(control);
        }
    }
}

void Win32Window::annotate(HWND control, const std::wstring& name)
{
    if (m_annotations != nullptr) {
        m_annotations->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                                      name.c_str());
    }
}

std::string Win32Window::text(TextBox box) const
{
    return textOf(control(placeOf(box)));
}

void Win32Window::setText(TextBox box, std::string_view text)
{
    SetWindowTextW(control(placeOf(box)), wide(text).c_str());
    // The answer box is named by the problem it answers: a screen reader says it and a
    // braille display shows it when the focus comes to the box.
    if (box == TextBox::txtProb) {
        rename(control(Answer), wide(answerBoxName(text)));
    }
}

void Win32Window::focus(TextBox box)
{
    moveFocus(control(placeOf(box)));
}

void Win32Window::moveFocus(HWND to)
{
    m_lastFocus = to;
    if (m_handling) {
        m_focusAfter = to;
    } else {
        SetFocus(to);
    }
}

void Win32Window::setCaption(Label l, std::string_view caption)
{
    const int place = placeOf(l);
    SetWindowTextW(control(place), wide(caption).c_str());
    fitCaption(place);
    // Next is named by the verdict and both counts, so they are said and shown in braille
    // when the focus comes to Next after Submit.
    rename(control(Next),
           wide(nextButtonName(textOf(control(Response)), textOf(control(RightCount)), textOf(control(WrongCount)))));
}

void Win32Window::setVisible(Button b, bool visible)
{
    const int place = placeOf(b);
    m_hideAfter[static_cast<std::size_t>(place)] = m_handling && !visible;
    if (visible || !m_handling) {
        ShowWindow(control(place), visible ? SW_SHOWNA : SW_HIDE);
    }
}

void Win32Window::focus(Button b)
{
    moveFocus(control(placeOf(b)));
}

void Win32Window::endProgram()
{
    // The loop ends with the handler that asked; the window goes with the program.
    ShowWindow(m_window, SW_HIDE);
    PostQuitMessage(0);
}

}  // namespace dravlet
