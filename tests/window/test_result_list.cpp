// The result list's look and mouse behaviour: grid lines, fixed rows, selection.
#include <QScrollBar>
#include <QTest>

#include "window_fixture.h"

using quillscan::SearchWindow;
using quillscan::test::Controls;
using quillscan::test::openSearchWindow;

class ResultListTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gridLinesReachTheBottom_data();
    void gridLinesReachTheBottom();
    void rowsHaveOneFixedHeight();
    void selectionStaysHighlightedWithoutFocus();
    void clickSelectsWholeRowAndClickBelowRowsClears();
    void columnsResizeByDraggingTheDivider();

private:
    void addRows(int count);
    int rowPitch() const { return list_->verticalHeader()->defaultSectionSize(); }
    QColor gridColor() const { return list_->palette().color(QPalette::Button); }
    QImage grabRows() const { return list_->viewport()->grab().toImage(); }

    std::unique_ptr<SearchWindow> window_;
    QTableView* list_ = nullptr;
};

void ResultListTest::init() {
    window_ = openSearchWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    list_ = Controls(*window_).resultList;
}

void ResultListTest::cleanup() {
    window_.reset();
}

void ResultListTest::addRows(int count) {
    for (int i = 0; i < count; ++i) window_->appendRow({u"一个标题", u"https://example.org/"});
    window_->showStatus({});
}

void ResultListTest::gridLinesReachTheBottom_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("scrolledRows");

    QTest::newRow("empty list") << 0 << 0;
    QTest::newRow("three rows") << 3 << 0;
    QTest::newRow("scrolled list") << 100 << 7;
}

void ResultListTest::gridLinesReachTheBottom() {
    QFETCH(int, rows);
    QFETCH(int, scrolledRows);

    addRows(rows);
    list_->selectRow(1);  // the lines are drawn over the highlight too
    list_->verticalScrollBar()->setValue(scrolledRows);
    const QImage image = grabRows();
    const QColor grid = gridColor();
    const QColor base = list_->palette().color(QPalette::Base);
    QVERIFY(grid != base);

    // Horizontal lines: the last pixel row of every row pitch, below the last row as well.
    const int textFreeX = 600;
    for (int y = rowPitch() - 1; y < image.height(); y += rowPitch()) {
        QCOMPARE(image.pixelColor(textFreeX, y), grid);
        QVERIFY(image.pixelColor(textFreeX, y - rowPitch() / 2) != grid);
    }

    // Vertical lines: the last pixel column of each of the two columns, all the way down.
    for (int x : {799, 949}) {
        for (int y = 0; y < image.height(); y += 7) QCOMPARE(image.pixelColor(x, y), grid);
        QVERIFY(image.pixelColor(x - 2, rowPitch() * 5 + rowPitch() / 2) != grid);
    }
}

void ResultListTest::rowsHaveOneFixedHeight() {
    window_->appendRow({u"short", u"l"});
    window_->appendRow({u"two\nlines " + std::u16string(500, u'长'), u"l"});
    window_->showStatus({});

    QCOMPARE(list_->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    QCOMPARE(list_->rowHeight(0), rowPitch());
    QCOMPARE(list_->rowHeight(1), rowPitch());
    QVERIFY(rowPitch() >= QFontMetrics(list_->font()).height());
}

void ResultListTest::selectionStaysHighlightedWithoutFocus() {
    for (int i = 0; i < 3; ++i) window_->appendRow({u"title", u""});
    window_->showStatus({});
    // In the empty link cell: the current cell may carry a focus frame of the style's own.
    const QPoint inSelectedRow(900, rowPitch() + rowPitch() / 2);

    list_->setFocus();
    list_->selectRow(1);
    const QColor focused = grabRows().pixelColor(inSelectedRow);
    QVERIFY(focused != list_->palette().color(QPalette::Base));

    Controls(*window_).searchBox->setFocus();
    QVERIFY(!list_->hasFocus());
    QCOMPARE(grabRows().pixelColor(inSelectedRow), focused);
}

void ResultListTest::clickSelectsWholeRowAndClickBelowRowsClears() {
    addRows(3);
    QTest::mouseClick(list_->viewport(), Qt::LeftButton, {},
                      QPoint(100, 2 * rowPitch() + rowPitch() / 2));
    const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 2);
    QCOMPARE(selected[0].row(), 2);
    QCOMPARE(selected[1].row(), 2);
    QCOMPARE(window_->selectedLink(), std::optional<std::u16string>(u"https://example.org/"));

    QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, QPoint(100, 8 * rowPitch()));
    QVERIFY(!list_->selectionModel()->hasSelection());
    QVERIFY(!window_->selectedLink());
}

void ResultListTest::columnsResizeByDraggingTheDivider() {
    QWidget* header = list_->horizontalHeader()->viewport();
    const int y = list_->horizontalHeader()->height() / 2;
    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(799, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(700, y), header->mapToGlobal(QPointF(700, y)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(header, &move);
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(700, y));

    QVERIFY(qAbs(list_->columnWidth(0) - 701) <= 2);
    QCOMPARE(list_->columnWidth(1), 150);
}

QTEST_MAIN(ResultListTest)
#include "test_result_list.moc"
