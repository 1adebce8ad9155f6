#include "window/result_table.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

namespace quillscan {

namespace {

constexpr int kRowPadding = 2;  // pixels above and below the text of a row

}  // namespace

ResultTable::ResultTable(QWidget* parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);  // Tab leaves the list instead of moving between cells
    setWordWrap(false);
    setSortingEnabled(false);
    setShowGrid(false);  // drawn by paintGridLines, also below the last row

    // The selected row looks the same whether or not the list has the focus.
    QPalette colors = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colors.setColor(QPalette::Inactive, role, colors.color(QPalette::Active, role));
    }
    setPalette(colors);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);  // the row height follows the font alone

    QHeaderView* columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    applyRowHeight();
}

int ResultTable::rowPitch() const {
    return verticalHeader()->defaultSectionSize();
}

void ResultTable::applyRowHeight() {
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2 * kRowPadding);
}

void ResultTable::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) applyRowHeight();
    QTableView::changeEvent(event);
}

void ResultTable::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    paintGridLines();
}

// One-pixel lines at the bottom of every row pitch down to the bottom of the list, rows or not,
// and at the right edge of every column.
void ResultTable::paintGridLines() {
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Button), 0));
    const int width = viewport()->width();
    const int height = viewport()->height();

    const int pitch = rowPitch();
    for (int y = pitch - verticalOffset() % pitch - 1; y < height; y += pitch) {
        painter.drawLine(0, y, width - 1, y);
    }
    for (int column = 0; column < horizontalHeader()->count(); ++column) {
        if (isColumnHidden(column)) continue;
        const int x = columnViewportPosition(column) + columnWidth(column) - 1;
        if (x >= 0 && x < width) painter.drawLine(x, 0, x, height - 1);
    }
}

void ResultTable::mousePressEvent(QMouseEvent* event) {
    // A press outside every row clears the selection, as in a native report list.
    if (!indexAt(event->position().toPoint()).isValid()) clearSelection();
    QTableView::mousePressEvent(event);
}

void ResultTable::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton &&
        viewport()->rect().contains(event->position().toPoint())) {
        emit leftButtonReleased();
    }
}

void ResultTable::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit leftDoubleClicked();
}

}  // namespace quillscan
