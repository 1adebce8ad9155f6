#include "window/list_font.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace quillscan {

namespace {

constexpr qreal kPointsPerInch = 72;
constexpr qreal kFallbackDpi = 96;

}  // namespace

int listFontPixelHeight(qreal verticalDpi) {
    return static_cast<int>(std::lround(kListFontPoints * verticalDpi / kPointsPerInch));
}

QFont createListFont(qreal verticalDpi) {
    QFont font;
    font.setPixelSize(listFontPixelHeight(verticalDpi));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

qreal displayVerticalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : kFallbackDpi;
}

}  // namespace quillscan
