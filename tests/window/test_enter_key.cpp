// The Enter key in the running program: it searches while the search box has the focus, from
// start-up on, and only without modifiers.
#include <QShortcut>
#include <QTest>
#include <memory>

#include "program_fixture.h"

using quillscan::test::answerMessageBoxes;
using quillscan::test::kCountLine;
using quillscan::test::kQuery;
using quillscan::test::RunningProgram;

class EnterKeyTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void enterInSearchBoxFromStartUp_data();
    void enterInSearchBoxFromStartUp();
    void enterAfterTabbingAway_data();
    void enterAfterTabbingAway();
    void enterAfterSwitchingAwayAndBack_data();
    void enterAfterSwitchingAwayAndBack();

private:
    QWidget* control(const QString& name) const {
        return program_->window().findChild<QWidget*>(name);
    }
    QString status() const { return program_->controls().statusText->text(); }
    // The Enter key is the window's only shortcut.
    int enterBindings() const {
        return static_cast<int>(program_->window().findChildren<QShortcut*>().size());
    }

    std::unique_ptr<RunningProgram> program_;
};

void EnterKeyTest::init() {
    program_ = std::make_unique<RunningProgram>();
    QVERIFY(QTest::qWaitForWindowActive(&program_->window()));
}

void EnterKeyTest::cleanup() {
    program_.reset();
}

void EnterKeyTest::enterInSearchBoxFromStartUp_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("rows");

    const int enter = Qt::Key_Return;
    const int keypadEnter = Qt::Key_Enter;
    using Mods = Qt::KeyboardModifiers;
    QTest::newRow("Return") << kQuery << enter << Mods() << kCountLine << 3;
    QTest::newRow("keypad Enter") << kQuery << keypadEnter << Mods(Qt::KeypadModifier) << kCountLine
                                  << 3;
    QTest::newRow("Return, empty box") << "" << enter << Mods() << "请输入搜索内容" << 0;
    QTest::newRow("Shift+Return") << kQuery << enter << Mods(Qt::ShiftModifier) << "" << 0;
    QTest::newRow("Ctrl+Return") << kQuery << enter << Mods(Qt::ControlModifier) << "" << 0;
    QTest::newRow("Alt+Return") << kQuery << enter << Mods(Qt::AltModifier) << "" << 0;
    QTest::newRow("Shift+keypad Enter")
        << kQuery << keypadEnter << Mods(Qt::KeypadModifier | Qt::ShiftModifier) << "" << 0;
}

// Nothing clicks into the box: start-up gave it the focus, and with it the Enter binding.
void EnterKeyTest::enterInSearchBoxFromStartUp() {
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, status);
    QFETCH(int, rows);

    QWidget* focused = QApplication::focusWidget();
    QCOMPARE(focused, program_->controls().searchBox);
    QTest::keyClicks(focused, typed);
    QTest::keyClick(focused, Qt::Key(key), modifiers);

    QCOMPARE(this->status(), status);
    QCOMPARE(program_->window().rowCount(), std::size_t(rows));
}

void EnterKeyTest::enterAfterTabbingAway_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("focused");

    QTest::newRow("Tab to the search button") << 1 << Qt::KeyboardModifiers() << "searchButton";
    QTest::newRow("Tab, Tab to the result list") << 2 << Qt::KeyboardModifiers() << "resultList";
    QTest::newRow("Shift+Tab to the open-link button")
        << 1 << Qt::KeyboardModifiers(Qt::ShiftModifier) << "openLinkButton";
}

void EnterKeyTest::enterAfterTabbingAway() {
    QFETCH(int, tabs);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, focused);

    QTest::keyClicks(QApplication::focusWidget(), kQuery);
    for (int i = 0; i < tabs; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
    }
    QCOMPARE(QApplication::focusWidget(), control(focused));
    QCOMPARE(enterBindings(), 0);

    const auto boxes =
        answerMessageBoxes([] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); });
    QVERIFY(boxes.empty());  // Enter does not press the focused button either
    QCOMPARE(status(), QString());
    QCOMPARE(program_->window().rowCount(), std::size_t(0));
}

void EnterKeyTest::enterAfterSwitchingAwayAndBack_data() {
    QTest::addColumn<QString>("focused");
    QTest::addColumn<bool>("searches");

    QTest::newRow("search box focused") << "searchBox" << true;
    QTest::newRow("search button focused") << "searchButton" << false;
}

// Another program comes to the front and then this one again; the focus returns to where it
// was, and with the search box Enter works at once.
void EnterKeyTest::enterAfterSwitchingAwayAndBack() {
    QFETCH(QString, focused);
    QFETCH(bool, searches);

    program_->controls().searchBox->setText(kQuery);
    control(focused)->setFocus(Qt::OtherFocusReason);
    {
        QWidget otherProgram;
        otherProgram.show();
        otherProgram.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&otherProgram));
        QCOMPARE(enterBindings(), 0);
    }
    program_->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&program_->window()));
    QCOMPARE(QApplication::focusWidget(), control(focused));
    QCOMPARE(enterBindings(), searches ? 1 : 0);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(status(), searches ? kCountLine : QString());
}

QTEST_MAIN(EnterKeyTest)
#include "test_enter_key.moc"
