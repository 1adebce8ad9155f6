// Copying and opening links in the running program: clicks in the result list, keys there, and
// the open-link button; seen on the clipboard and in the links that reach the launcher.
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <memory>
#include <optional>

#include "program_fixture.h"

using quillscan::test::answerMessageBoxes;
using quillscan::test::kFoundLinks;
using quillscan::test::RunningProgram;
using Links = std::vector<QString>;

namespace {

const QString kOldClipboard = QStringLiteral("old clipboard text");

QString clipboard() {
    return QGuiApplication::clipboard()->text();
}

}  // namespace

class LinkClicksTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void clickOnRowCopiesItsLink_data();
    void clickOnRowCopiesItsLink();
    void clickBelowRowsClearsSelectionAndCopiesNothing();
    void clickThenDoubleClick_data();
    void clickThenDoubleClick();
    void rightClickSelectsButCopiesNothing();
    void keysInListNeitherCopyNorOpen_data();
    void keysInListNeitherCopyNorOpen();
    void openLinkButton_data();
    void openLinkButton();

private:
    int rowPitch() const { return list_->verticalHeader()->defaultSectionSize(); }
    QPoint rowPoint(int row) const { return {100, row * rowPitch() + rowPitch() / 2}; }
    QPoint belowRows() const { return {100, 10 * rowPitch()}; }
    void click(QPoint where, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(list_->viewport(), button, {}, where);
    }
    std::optional<int> selectedRow() const;
    void select(const QString& how);
    const Links& opened() const { return program_->launcher.opened; }

    std::unique_ptr<RunningProgram> program_;
    QTableView* list_ = nullptr;
};

void LinkClicksTest::init() {
    program_ = std::make_unique<RunningProgram>();
    QVERIFY(QTest::qWaitForWindowActive(&program_->window()));
    list_ = program_->controls().resultList;
    QGuiApplication::clipboard()->setText(kOldClipboard);
}

void LinkClicksTest::cleanup() {
    program_.reset();
}

std::optional<int> LinkClicksTest::selectedRow() const {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return rows.first().row();
}

// "" selects nothing; "below" is a click below the rows; "row N" a click on row N; "keys" is
// Tab into the list, then Down.
void LinkClicksTest::select(const QString& how) {
    if (how == "below") {
        click(belowRows());
    } else if (how.startsWith("row ")) {
        click(rowPoint(how.mid(4).toInt()));
    } else if (how == "keys") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list_);
        QTest::keyClick(list_, Qt::Key_Down);
    } else {
        QCOMPARE(how, QString());
    }
}

void LinkClicksTest::clickOnRowCopiesItsLink_data() {
    QTest::addColumn<int>("row");

    QTest::newRow("first row") << 0;
    QTest::newRow("second row") << 1;
    QTest::newRow("row with an empty link") << 2;
}

void LinkClicksTest::clickOnRowCopiesItsLink() {
    QFETCH(int, row);

    program_->search();
    click(rowPoint(row));

    QCOMPARE(selectedRow(), std::optional<int>(row));
    QCOMPARE(clipboard(), kFoundLinks[row]);
    QCOMPARE(opened(), Links{});
}

void LinkClicksTest::clickBelowRowsClearsSelectionAndCopiesNothing() {
    program_->search();
    click(rowPoint(1));
    QCOMPARE(clipboard(), kFoundLinks[1]);
    QGuiApplication::clipboard()->setText(kOldClipboard);

    click(belowRows());

    QVERIFY(!selectedRow());
    QCOMPARE(clipboard(), kOldClipboard);
}

void LinkClicksTest::clickThenDoubleClick_data() {
    QTest::addColumn<bool>("onRow");
    QTest::addColumn<QString>("copied");
    QTest::addColumn<Links>("opened");

    QTest::newRow("on a row: copies, then opens")
        << true << kFoundLinks[1] << Links{kFoundLinks[1]};
    QTest::newRow("below the rows: nothing") << false << kOldClipboard << Links{};
}

// A user's double-click: the first click, then the second one that makes it double.
void LinkClicksTest::clickThenDoubleClick() {
    QFETCH(bool, onRow);
    QFETCH(QString, copied);
    QFETCH(Links, opened);

    program_->search();
    list_->selectRow(0);  // a click below the rows must not open what was selected before
    const QPoint where = onRow ? rowPoint(1) : belowRows();
    click(where);
    QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, where);

    QCOMPARE(clipboard(), copied);
    QCOMPARE(this->opened(), opened);
}

void LinkClicksTest::rightClickSelectsButCopiesNothing() {
    program_->search();
    const auto boxes = answerMessageBoxes([this] { click(rowPoint(1), Qt::RightButton); });

    QVERIFY(boxes.empty());
    QCOMPARE(selectedRow(), std::optional<int>(1));
    QCOMPARE(clipboard(), kOldClipboard);
    QCOMPARE(opened(), Links{});
}

void LinkClicksTest::keysInListNeitherCopyNorOpen_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("selected");

    QTest::newRow("Down moves the selection") << int(Qt::Key_Down) << Qt::KeyboardModifiers() << 1;
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 0;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                  << 0;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << 0;
}

void LinkClicksTest::keysInListNeitherCopyNorOpen() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, selected);

    program_->search();
    list_->setFocus(Qt::OtherFocusReason);
    list_->selectRow(0);
    const auto boxes = answerMessageBoxes([&] { QTest::keyClick(list_, Qt::Key(key), modifiers); });

    QVERIFY(boxes.empty());
    QCOMPARE(selectedRow(), std::optional<int>(selected));
    QCOMPARE(clipboard(), kOldClipboard);
    QCOMPARE(opened(), Links{});
    QVERIFY(program_->window().isVisible());
    QCOMPARE(program_->stops, 0);
}

void LinkClicksTest::openLinkButton_data() {
    QTest::addColumn<bool>("searchFirst");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<bool>("complains");
    QTest::addColumn<Links>("opened");

    QTest::newRow("before any search") << false << "" << true << Links{};
    QTest::newRow("after a search, nothing selected") << true << "" << true << Links{};
    QTest::newRow("after a click below the rows") << true << "below" << true << Links{};
    QTest::newRow("row selected by a click") << true << "row 1" << false << Links{kFoundLinks[1]};
    QTest::newRow("row with an empty link") << true << "row 2" << false << Links{QString()};
    QTest::newRow("row selected by the keys") << true << "keys" << false << Links{kFoundLinks[1]};
}

void LinkClicksTest::openLinkButton() {
    QFETCH(bool, searchFirst);
    QFETCH(QString, selection);
    QFETCH(bool, complains);
    QFETCH(Links, opened);

    if (searchFirst) program_->search();
    select(selection);
    const std::size_t rows = program_->window().rowCount();

    const auto boxes = answerMessageBoxes(
        [this] { QTest::mouseClick(program_->controls().openLinkButton, Qt::LeftButton); });

    QCOMPARE(this->opened(), opened);
    QCOMPARE(boxes.size(), std::size_t(complains ? 1 : 0));
    if (complains) {
        QCOMPARE(boxes[0].title, QStringLiteral("错误"));
        QCOMPARE(boxes[0].text, QStringLiteral("请选择要打开的链接"));
        QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(boxes[0].icon, QMessageBox::NoIcon);
    }
    QCOMPARE(program_->window().rowCount(), rows);
}

QTEST_MAIN(LinkClicksTest)
#include "test_link_clicks.moc"
