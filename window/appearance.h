#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

namespace dravlet::appearance {

inline constexpr const char* windowName = "cmdDravlet";
inline constexpr const char* windowTitle = "Dravlet Problem Practice Version 2.1";
// The client area in logical pixels (6570 x 6120 twips at 15 twips a pixel).
inline constexpr int clientWidth = 438;
inline constexpr int clientHeight = 408;

// Rectangles in logical pixels; Qt scales them on high-density screens.
inline constexpr QRect submitRect{240, 280, 81, 33};
inline constexpr QRect answerRect{8, 272, 177, 41};
inline constexpr QRect problemRect{16, 24, 297, 233};
inline constexpr QRect runRect{320, 280, 81, 33};
inline constexpr QRect nextRect{240, 280, 81, 33};
inline constexpr QRect quitRect{344, 368, 81, 33};
inline constexpr QRect noticeRect{24, 384, 217, 17};
inline constexpr QRect wrongCaptionRect{360, 160, 57, 17};
inline constexpr QRect wrongCountRect{352, 112, 73, 41};
inline constexpr QRect rightCaptionRect{360, 88, 57, 17};
inline constexpr QRect rightCountRect{352, 40, 73, 41};
inline constexpr QRect responseRect{0, 328, 209, 25};

// The most characters the answer box keeps.
inline constexpr int answerMaxLength = 32767;

inline const QColor problemBackground{192, 192, 192};
inline const QColor answerBackground{255, 255, 192};
inline const QColor rightBackground{128, 255, 128};
inline const QColor wrongBackground{255, 128, 128};
// Text on the fixed backgrounds above is fixed too, so a dark theme cannot make it
// light-on-light.
inline const QColor fixedText{0, 0, 0};

inline constexpr const char* legacyFamily = "MS Sans Serif";
inline constexpr double defaultPointSize = 9.0;
inline constexpr double problemPointSize = 13.5;
inline constexpr double answerPointSize = 18.0;
inline constexpr double countPointSize = 24.0;
inline constexpr double responsePointSize = 9.75;

// Makes "MS Sans Serif" resolve to a metrically close sans face where it is missing
// (Liberation Sans first), never to whatever the font system falls back to. Once per
// process, before any font is resolved.
void installFontSubstitutes();

// The program's font: "MS Sans Serif" (or its substitute) at a size, regular or bold.
QFont legacyFont(double pointSize, bool bold = false);

// The window icon: a red plus on white, 16 x 16, bars 4 pixels thick; also at 32, 48
// and 64 pixels for high-density screens.
QIcon windowIcon();

}  // namespace dravlet::appearance
