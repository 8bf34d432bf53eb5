// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <type_traits>

#include "runtime/controls.h"

struct IAccPropServices;

namespace dravlet {

class cmdDravlet;

// GDI objects owned: freed when replaced (on a change of DPI) or when the window goes.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using OwnedBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

// The one window on Windows: twelve native controls (BUTTON, EDIT, STATIC) at fixed
// places, scaled to the monitor's DPI, reached by the window object only through the
// control operations. Each control's ID is firstControlId plus its place in the order of
// creation (cmdSubmit, txtAnswer, txtProb, cmdRun, cmdNext, cmdQuit, Label3, Label2,
// lblWrong, Label1, lblRight, lblResponse), which is how a test reads it from outside.
class Win32Window final : public Controls, public ProgramEnd {
public:
    static constexpr int firstControlId = 101;
    static constexpr int controlCount = 12;

    explicit Win32Window(HINSTANCE instance);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Presses of the four buttons run the window object's click handlers.
    void deliverClicksTo(cmdDravlet& form) { m_form = &form; }
    // Shows the window with the focus on Start and runs the message loop until Quit or the
    // window closes; the exit status.
    int run(int show);

    std::string text(TextBox box) const override;
    void setText(TextBox box, std::string_view text) override;
    void focus(TextBox box) override;
    void setCaption(Label label, std::string_view caption) override;
    void setVisible(Button button, bool visible) override;
    void focus(Button button) override;
    void endProgram() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK namedControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                                  UINT_PTR id, DWORD_PTR self);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCreate();
    void onDestroy();
    void onCommand(int id, int code);
    LRESULT onControlColour(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void onMinMaxInfo(MINMAXINFO& info) const;
    void onActivate(bool active);
    void onSettingChange();

    // Within a click handler the focus, the hiding of buttons and the renaming events wait
    // for the handler's end, so an assistive client hears of each control once, as it is.
    void settle(HWND focus);
    void announceName(HWND control);
    void moveFocus(HWND to);
    void applyDpi(UINT dpi);
    void fitClientArea();
    void fitCaption(int index);
    int scaled(int logical) const;
    HWND control(int index) const { return m_controls[static_cast<std::size_t>(index)]; }
    void rename(HWND control, std::wstring name);
    void annotate(HWND control, const std::wstring& name);

    HWND m_window = nullptr;
    std::array<HWND, controlCount> m_controls{};
    cmdDravlet* m_form = nullptr;
    UINT m_dpi = 96;
    UINT m_textScale = 100;        // Windows' "Text size", per cent
    bool m_contrastTheme = false;  // a contrast theme: the coloured boxes take its colours
    HWND m_lastFocus = nullptr;
    bool m_handling = false;       // a click handler runs
    HWND m_focusAfter = nullptr;   // where the handler sends the focus
    std::array<bool, controlCount> m_hideAfter{};
    std::array<bool, controlCount> m_renamed{};
    IAccPropServices* m_annotations = nullptr;  // where Windows names controls for us
    std::array<OwnedFont, controlCount> m_fonts;  // each control's font at the DPI, fitted to its box
    std::array<OwnedBrush, 4> m_brushes;          // the four fixed backgrounds
    std::wstring m_answerName;
    std::wstring m_nextName;
};

}  // namespace dravlet
