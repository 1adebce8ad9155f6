// The main window as it opens: frame, controls in their places with their texts, fonts, state.
#include <QApplication>
#include <QTest>

#include "window_fixture.h"

using quillscan::SearchWindow;
using quillscan::test::Controls;
using quillscan::test::openSearchWindow;

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void frame();
    void controlGeometry_data();
    void controlGeometry();
    void buttonTexts();
    void resultColumns();
    void fonts();
    void statusTextProperties();
    void startsEmptyWithFocusInSearchBox();
    void centredOnDefaultScreen();
    void icon();

private:
    std::unique_ptr<SearchWindow> window_;
};

void WindowLayoutTest::init() {
    window_ = openSearchWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void WindowLayoutTest::cleanup() {
    window_.reset();
}

void WindowLayoutTest::frame() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Tarnwick-精品-原创-Quillscan"));
    QCOMPARE(window_->size(), QSize(1000, 500));
    QCOMPARE(window_->minimumSize(), QSize(1000, 500));
    QCOMPARE(window_->maximumSize(), QSize(1000, 500));

    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(window_->isVisible());
    QVERIFY(!window_->isMinimized() && !window_->isMaximized());
}

void WindowLayoutTest::controlGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("search box") << "searchBox" << QRect(10, 10, 350, 25);
    QTest::newRow("search button") << "searchButton" << QRect(370, 10, 100, 25);
    QTest::newRow("result list") << "resultList" << QRect(10, 50, 980, 440);
    QTest::newRow("open-link button") << "openLinkButton" << QRect(490, 10, 100, 25);
    QTest::newRow("status text") << "statusText" << QRect(620, 14, 350, 25);
}

void WindowLayoutTest::controlGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);

    const QWidget* control = window_->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isVisible());
}

void WindowLayoutTest::buttonTexts() {
    const Controls controls(*window_);
    QCOMPARE(controls.searchButton->text(), QStringLiteral("搜索"));
    QCOMPARE(controls.openLinkButton->text(), QStringLiteral("打开链接"));
}

void WindowLayoutTest::resultColumns() {
    const QTableView* list = Controls(*window_).resultList;
    const QHeaderView* header = list->horizontalHeader();
    QCOMPARE(list->model()->columnCount(), 2);
    QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("标题"));
    QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("链接"));
    QCOMPARE(list->columnWidth(0), 800);
    QCOMPARE(list->columnWidth(1), 150);
    QCOMPARE(header->defaultAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(header->sectionResizeMode(0), QHeaderView::Interactive);
    QCOMPARE(header->sectionResizeMode(1), QHeaderView::Interactive);
    QVERIFY(!header->sectionsMovable());
    QVERIFY(!list->isSortingEnabled());
    QVERIFY(header->isVisible());
    QVERIFY(!list->verticalHeader()->isVisible());
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(list->frameShadow(), QFrame::Sunken);
}

void WindowLayoutTest::fonts() {
    const Controls controls(*window_);
    const QFont listFont = controls.resultList->font();
    QCOMPARE(listFont.pixelSize(), 19);
    QCOMPARE(listFont.family(), QApplication::font().family());
    QCOMPARE(listFont.weight(), QFont::Normal);
    QCOMPARE(controls.resultList->horizontalHeader()->font().pixelSize(), 19);

    for (const QWidget* control :
         std::initializer_list<const QWidget*>{controls.searchBox, controls.searchButton,
                                               controls.openLinkButton, controls.statusText}) {
        QCOMPARE(control->font(), QApplication::font());
    }
}

void WindowLayoutTest::statusTextProperties() {
    const QLabel* status = Controls(*window_).statusText;
    QCOMPARE(status->textFormat(), Qt::PlainText);
    QVERIFY(status->wordWrap());
    QCOMPARE(status->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(status->focusPolicy(), Qt::NoFocus);
    QCOMPARE(status->frameShape(), QFrame::NoFrame);
}

void WindowLayoutTest::startsEmptyWithFocusInSearchBox() {
    const Controls controls(*window_);
    QCOMPARE(QApplication::focusWidget(), controls.searchBox);
    QVERIFY(controls.searchBox->text().isEmpty());
    QVERIFY(controls.statusText->text().isEmpty());
    QCOMPARE(controls.resultList->model()->rowCount(), 0);
    QCOMPARE(window_->rowCount(), std::size_t{0});
    QVERIFY(!window_->selectedLink());
    QVERIFY(controls.searchButton->isEnabled());
    QVERIFY(controls.openLinkButton->isEnabled());
}

void WindowLayoutTest::centredOnDefaultScreen() {
    // The offscreen screen is 800 x 800: too narrow for the window, which starts at its edge.
    QCOMPARE(window_->frameGeometry().topLeft(),
             QPoint(0, (800 - window_->frameSize().height()) / 2));
}

void WindowLayoutTest::icon() {
    const QList<QSize> sizes = window_->windowIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(32, 32)));
    QVERIFY(sizes.contains(QSize(64, 64)));
}

QTEST_MAIN(WindowLayoutTest)
#include "test_window_layout.moc"
