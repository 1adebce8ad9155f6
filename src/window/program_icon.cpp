#include "window/program_icon.h"

#include <QPainter>
#include <QPixmap>

namespace quillscan {

namespace {

constexpr int kIconSizes[] = {16, 24, 32, 48, 64};

// Drawn on a 64-unit grid and scaled, so every size shows the same picture.
QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    const QRectF page(6, 4, 40, 52);
    painter.setPen(QPen(QColor(70, 90, 120), 3));
    painter.setBrush(QColor(250, 250, 245));
    painter.drawRoundedRect(page, 4, 4);
    painter.setPen(QPen(QColor(150, 165, 185), 3, Qt::SolidLine, Qt::RoundCap));
    for (int y = 16; y <= 40; y += 8) painter.drawLine(QPointF(14, y), QPointF(38, y));

    const QPointF lensCentre(38, 36);
    painter.setPen(QPen(QColor(176, 58, 46), 7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(49, 47), QPointF(59, 57));
    painter.setPen(QPen(QColor(40, 60, 90), 5));
    painter.setBrush(QColor(170, 210, 240, 200));
    painter.drawEllipse(lensCentre, 14, 14);
    return pixmap;
}

}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : kIconSizes) icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace quillscan
