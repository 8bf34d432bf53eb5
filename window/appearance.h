// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

#include "runtime/layout.h"

namespace dravlet::appearance {

// The shared layout in Qt's types: logical pixels, which Qt scales on high-density screens.
constexpr QRect toQRect(layout::Rect r) { return {r.left, r.top, r.width, r.height}; }
inline QColor toQColor(layout::Colour c) { return {c.red, c.green, c.blue}; }

inline constexpr const char* windowName = layout::windowName;
inline constexpr const char* windowTitle = layout::windowTitle;
inline constexpr int clientWidth = layout::clientWidth;
inline constexpr int clientHeight = layout::clientHeight;

inline constexpr QRect submitRect = toQRect(layout::submitRect);
inline constexpr QRect answerRect = toQRect(layout::answerRect);
inline constexpr QRect problemRect = toQRect(layout::problemRect);
inline constexpr QRect runRect = toQRect(layout::runRect);
inline constexpr QRect nextRect = toQRect(layout::nextRect);
inline constexpr QRect quitRect = toQRect(layout::quitRect);
inline constexpr QRect noticeRect = toQRect(layout::noticeRect);
inline constexpr QRect wrongCaptionRect = toQRect(layout::wrongCaptionRect);
inline constexpr QRect wrongCountRect = toQRect(layout::wrongCountRect);
inline constexpr QRect rightCaptionRect = toQRect(layout::rightCaptionRect);
inline constexpr QRect rightCountRect = toQRect(layout::rightCountRect);
inline constexpr QRect responseRect = toQRect(layout::responseRect);

inline constexpr int answerMaxLength = layout::answerMaxLength;

inline const QColor problemBackground = toQColor(layout::problemBackground);
inline const QColor answerBackground = toQColor(layout::answerBackground);
inline const QColor rightBackground = toQColor(layout::rightBackground);
inline const QColor wrongBackground = toQColor(layout::wrongBackground);
inline const QColor fixedText = toQColor(layout::fixedText);

inline constexpr const char* legacyFamily = layout::legacyFamily;
inline constexpr double defaultPointSize = layout::defaultPointSize;
inline constexpr double problemPointSize = layout::problemPointSize;
inline constexpr double answerPointSize = layout::answerPointSize;
inline constexpr double countPointSize = layout::countPointSize;
inline constexpr double responsePointSize = layout::responsePointSize;

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
