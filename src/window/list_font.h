// The font of the result list.
#pragma once

#include <QFont>

namespace quillscan {

inline constexpr int kListFontPoints = 14;

// Character height in pixels for the list font on a display of `verticalDpi` dots per inch,
// rounded to the nearest pixel: 19 at 96.
int listFontPixelHeight(qreal verticalDpi);

// The list font: the default face, normal weight, no italic, underline or strike-out.
QFont createListFont(qreal verticalDpi);

// The primary screen's logical vertical resolution; 96 when there is no screen.
qreal displayVerticalDpi();

}  // namespace quillscan
