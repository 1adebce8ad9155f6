// What the user does reaches the dispatcher as WindowEvent values, and nothing else does.
#include <QTest>
#include <algorithm>
#include <vector>

#include "window_fixture.h"

using quillscan::ControlEventType;
using quillscan::ControlId;
using quillscan::EventKind;
using quillscan::SearchWindow;
using quillscan::WindowEvent;
using quillscan::test::Controls;
using quillscan::test::openSearchWindow;

namespace {

WindowEvent control(ControlId id, ControlEventType type) {
    return {.kind = EventKind::Control, .control = id, .type = type};
}

const WindowEvent kEnterShortcut{.kind = EventKind::Shortcut,
                                 .shortcutId = quillscan::kSearchShortcutId};

}  // namespace

class WindowEventsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void searchBoxReportsFocusOnly();
    void buttonsReportClicks_data();
    void buttonsReportClicks();
    void listReportsLeftClicksAfterSelecting();
    void enterShortcut_data();
    void enterShortcut();
    void closeReportsWindowClosed();

private:
    std::unique_ptr<SearchWindow> window_;
    std::vector<WindowEvent> events_;
    std::vector<std::optional<std::u16string>> linksAtEvent_;
};

void WindowEventsTest::init() {
    window_ = openSearchWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    connect(window_.get(), &SearchWindow::windowEvent, this, [this](const WindowEvent& event) {
        events_.push_back(event);
        linksAtEvent_.push_back(window_->selectedLink());
    });
}

void WindowEventsTest::cleanup() {
    window_.reset();
    events_.clear();
    linksAtEvent_.clear();
}

void WindowEventsTest::searchBoxReportsFocusOnly() {
    const Controls controls(*window_);
    QTest::keyClicks(controls.searchBox, QStringLiteral("ab"));
    QTest::keyClick(controls.searchBox, Qt::Key_Tab);
    QTest::keyClick(controls.searchButton, Qt::Key_Tab, Qt::ShiftModifier);

    const std::vector<WindowEvent> expected{
        control(ControlId::SearchBox, ControlEventType::FocusLost),
        control(ControlId::SearchBox, ControlEventType::FocusGained)};
    QCOMPARE(events_, expected);
}

void WindowEventsTest::buttonsReportClicks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<ControlId>("id");

    QTest::newRow("search button") << "searchButton" << ControlId::SearchButton;
    QTest::newRow("open-link button") << "openLinkButton" << ControlId::OpenLinkButton;
}

void WindowEventsTest::buttonsReportClicks() {
    QFETCH(QString, name);
    QFETCH(ControlId, id);

    window_->findChild<QWidget*>(QStringLiteral("statusText"))->setFocus();  // takes none
    QTest::mouseClick(window_->findChild<QPushButton*>(name), Qt::LeftButton);

    // Clicking a button moves the focus out of the search box first.
    const std::vector<WindowEvent> expected{
        control(ControlId::SearchBox, ControlEventType::FocusLost),
        control(id, ControlEventType::LeftClick)};
    QCOMPARE(events_, expected);
}

void WindowEventsTest::listReportsLeftClicksAfterSelecting() {
    window_->appendRow({u"first", u"https://a/1"});
    window_->appendRow({u"second", u"https://a/2"});
    window_->showStatus({});
    QTableView* list = Controls(*window_).resultList;
    list->setFocus();
    events_.clear();
    linksAtEvent_.clear();
    const int pitch = list->verticalHeader()->defaultSectionSize();
    const QPoint secondRow(100, pitch + pitch / 2);
    const QPoint belowRows(100, 6 * pitch);

    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, secondRow);
    QVERIFY(events_.empty());

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, secondRow);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, secondRow);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, belowRows);

    const WindowEvent click = control(ControlId::ResultList, ControlEventType::LeftClick);
    const WindowEvent doubleClick =
        control(ControlId::ResultList, ControlEventType::LeftDoubleClick);
    const std::vector<WindowEvent> expected{click, doubleClick, click};
    QCOMPARE(events_, expected);
    const std::vector<std::optional<std::u16string>> links{u"https://a/2", u"https://a/2",
                                                           std::nullopt};
    QCOMPARE(linksAtEvent_, links);
}

void WindowEventsTest::enterShortcut_data() {
    QTest::addColumn<int>("binds");
    QTest::addColumn<bool>("unbind");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("shortcuts");

    const Qt::KeyboardModifiers none;
    const int enter = Qt::Key_Return;
    QTest::newRow("Return, bound") << 1 << false << enter << none << 1;
    QTest::newRow("keypad Enter, bound")
        << 1 << false << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 1;
    QTest::newRow("bound twice: one binding") << 2 << false << enter << none << 1;
    QTest::newRow("not bound") << 0 << false << enter << none << 0;
    QTest::newRow("bound, then unbound") << 1 << true << enter << none << 0;
    QTest::newRow("Shift+Return") << 1 << false << enter << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                  << 0;
    QTest::newRow("Ctrl+Return") << 1 << false << enter
                                 << Qt::KeyboardModifiers(Qt::ControlModifier) << 0;
    QTest::newRow("Alt+Return") << 1 << false << enter << Qt::KeyboardModifiers(Qt::AltModifier)
                                << 0;
}

void WindowEventsTest::enterShortcut() {
    QFETCH(int, binds);
    QFETCH(bool, unbind);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, shortcuts);

    window_->unbindEnterShortcut();  // removing a binding that is not there does nothing
    for (int i = 0; i < binds; ++i) window_->bindEnterShortcut();
    if (unbind) window_->unbindEnterShortcut();

    QTest::keyClick(Controls(*window_).searchBox, Qt::Key(key), modifiers);
    QCOMPARE(std::count(events_.begin(), events_.end(), kEnterShortcut), shortcuts);
}

void WindowEventsTest::closeReportsWindowClosed() {
    window_->close();
    const WindowEvent closed{.kind = EventKind::WindowClosed};
    QCOMPARE(std::count(events_.begin(), events_.end(), closed), 1);
}

QTEST_MAIN(WindowEventsTest)
#include "test_window_events.moc"
