// Keyboard focus: the Tab cycle both ways, the untouched text, re-activation, and searches.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "index/title_search.h"
#include "window_fixture.h"

using quillscan::SearchWindow;
using quillscan::test::openSearchWindow;

class FocusTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tabCycle_data();
    void tabCycle();
    void tabWithoutFocusedControl_data();
    void tabWithoutFocusedControl();
    void tabbingIntoSearchBoxSelectsNothing_data();
    void tabbingIntoSearchBoxSelectsNothing();
    void focusReturnsOnReactivation_data();
    void focusReturnsOnReactivation();
    void searchLeavesFocusInPlace_data();
    void searchLeavesFocusInPlace();

private:
    QWidget* control(const QString& name) const { return window_->findChild<QWidget*>(name); }
    void focusControl(const QString& name);

    std::unique_ptr<SearchWindow> window_;
};

void FocusTest::init() {
    window_ = openSearchWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    // Rows in the list: Tab must still leave it rather than move between its cells.
    for (int i = 0; i < 3; ++i) window_->appendRow({u"title", u"link"});
    window_->showStatus({});
}

void FocusTest::cleanup() {
    window_.reset();
}

void FocusTest::focusControl(const QString& name) {
    control(name)->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), control(name));
}

void FocusTest::tabCycle_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("to");

    const Qt::KeyboardModifiers forward = Qt::NoModifier;
    const Qt::KeyboardModifiers backward = Qt::ShiftModifier;
    QTest::newRow("box -> search button") << "searchBox" << forward << "searchButton";
    QTest::newRow("search button -> list") << "searchButton" << forward << "resultList";
    QTest::newRow("list -> open-link button") << "resultList" << forward << "openLinkButton";
    QTest::newRow("open-link button -> box (wraps)") << "openLinkButton" << forward << "searchBox";
    QTest::newRow("box <- open-link button (wraps)") << "searchBox" << backward << "openLinkButton";
    QTest::newRow("open-link button <- list") << "openLinkButton" << backward << "resultList";
    QTest::newRow("list <- search button") << "resultList" << backward << "searchButton";
    QTest::newRow("search button <- box") << "searchButton" << backward << "searchBox";
}

void FocusTest::tabCycle() {
    QFETCH(QString, from);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, to);

    focusControl(from);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
    QCOMPARE(QApplication::focusWidget(), control(to));
}

void FocusTest::tabWithoutFocusedControl_data() {
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("to");

    QTest::newRow("Tab goes to the first") << Qt::KeyboardModifiers() << "searchBox";
    QTest::newRow("Shift+Tab goes to the last")
        << Qt::KeyboardModifiers(Qt::ShiftModifier) << "openLinkButton";
}

void FocusTest::tabWithoutFocusedControl() {
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, to);

    QApplication::focusWidget()->clearFocus();
    QVERIFY(!QApplication::focusWidget());
    QTest::keyClick(window_.get(), Qt::Key_Tab, modifiers);
    QCOMPARE(QApplication::focusWidget(), control(to));
}

void FocusTest::tabbingIntoSearchBoxSelectsNothing_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

    QTest::newRow("Tab") << "openLinkButton" << Qt::KeyboardModifiers();
    QTest::newRow("Shift+Tab") << "searchButton" << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

void FocusTest::tabbingIntoSearchBoxSelectsNothing() {
    QFETCH(QString, from);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    auto* box = window_->findChild<QLineEdit*>(QStringLiteral("searchBox"));
    box->setText(QStringLiteral("教程 abc"));
    focusControl(from);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
    QCOMPARE(QApplication::focusWidget(), box);
    QVERIFY(!box->hasSelectedText());
    QCOMPARE(box->text(), QStringLiteral("教程 abc"));
}

void FocusTest::focusReturnsOnReactivation_data() {
    QTest::addColumn<QString>("name");

    QTest::newRow("search box") << "searchBox";
    QTest::newRow("search button") << "searchButton";
    QTest::newRow("result list") << "resultList";
    QTest::newRow("open-link button") << "openLinkButton";
}

void FocusTest::focusReturnsOnReactivation() {
    QFETCH(QString, name);

    focusControl(name);
    {
        QWidget otherProgram;
        otherProgram.show();
        otherProgram.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&otherProgram));
        QVERIFY(!control(name)->hasFocus());
    }
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QVERIFY(control(name)->hasFocus());
}

void FocusTest::searchLeavesFocusInPlace_data() {
    QTest::addColumn<QString>("name");

    QTest::newRow("search box (Enter)") << "searchBox";
    QTest::newRow("search button") << "searchButton";
}

void FocusTest::searchLeavesFocusInPlace() {
    QFETCH(QString, name);

    QTemporaryDir folder;
    const std::filesystem::path index = folder.filePath("threads.db5").toStdString();
    std::ofstream(index) << "教程 one\nhttps://a/1\nother\nhttps://a/2\n";

    focusControl(name);
    quillscan::TitleSearch(index).runSearch(u"教程", *window_);
    QCOMPARE(window_->rowCount(), std::size_t{1});
    QCOMPARE(QApplication::focusWidget(), control(name));
    QVERIFY(control("searchButton")->isEnabled());
}

QTEST_MAIN(FocusTest)
#include "test_focus.moc"
