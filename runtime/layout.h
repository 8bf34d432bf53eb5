// SPDX-License-Identifier: MIT
#pragma once

// The window's layout, shared by the desktop faces: each turns these into its own
// toolkit's types and scales them to the screen.
namespace dravlet::layout {

struct Rect {
    int left, top, width, height;
};

struct Colour {
    int red, green, blue;
};

inline constexpr const char* windowName = "cmdDravlet";
inline constexpr const char* windowTitle = "Dravlet Problem Practice Version 2.1";
// The client area in logical pixels (6570 x 6120 twips at 15 twips a pixel), at 96 dpi.
inline constexpr int clientWidth = 438;
inline constexpr int clientHeight = 408;
inline constexpr int logicalDpi = 96;

inline constexpr Rect submitRect{240, 280, 81, 33};
inline constexpr Rect answerRect{8, 272, 177, 41};
inline constexpr Rect problemRect{16, 24, 297, 233};
inline constexpr Rect runRect{320, 280, 81, 33};
inline constexpr Rect nextRect{240, 280, 81, 33};
inline constexpr Rect quitRect{344, 368, 81, 33};
inline constexpr Rect noticeRect{24, 384, 217, 17};
inline constexpr Rect wrongCaptionRect{360, 160, 57, 17};
inline constexpr Rect wrongCountRect{352, 112, 73, 41};
inline constexpr Rect rightCaptionRect{360, 88, 57, 17};
inline constexpr Rect rightCountRect{352, 40, 73, 41};
inline constexpr Rect responseRect{0, 328, 209, 25};

// The most characters the answer box keeps.
inline constexpr int answerMaxLength = 32767;

inline constexpr Colour problemBackground{192, 192, 192};
inline constexpr Colour answerBackground{255, 255, 192};
inline constexpr Colour rightBackground{128, 255, 128};
inline constexpr Colour wrongBackground{255, 128, 128};
// Text on the fixed backgrounds above is fixed too, so a dark theme cannot make it
// light-on-light.
inline constexpr Colour fixedText{0, 0, 0};

inline constexpr const char* legacyFamily = "MS Sans Serif";
inline constexpr double defaultPointSize = 9.0;
inline constexpr double problemPointSize = 13.5;
inline constexpr double answerPointSize = 18.0;
inline constexpr double countPointSize = 24.0;
inline constexpr double responsePointSize = 9.75;
inline constexpr bool responseBold = true;

}  // namespace dravlet::layout
