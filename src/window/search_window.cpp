#include "window/search_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

#include "window/centring.h"
#include "window/error_box.h"
#include "window/program_icon.h"
#include "window/qt_text.h"
#include "window/result_model.h"
#include "window/result_table.h"
#include "window/search_box.h"

namespace quillscan {

namespace {

constexpr QSize kClientSize(1000, 500);
constexpr QRect kSearchBoxGeometry(10, 10, 350, 25);
constexpr QRect kSearchButtonGeometry(370, 10, 100, 25);
constexpr QRect kResultListGeometry(10, 50, 980, 440);
constexpr QRect kOpenLinkButtonGeometry(490, 10, 100, 25);
constexpr QRect kStatusTextGeometry(620, 14, 350, 25);
constexpr int kTitleColumnWidth = 800;
constexpr int kLinkColumnWidth = 150;

}  // namespace

SearchWindow::SearchWindow(const QFont& listFont)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Tarnwick-精品-原创-Quillscan"));
    setWindowIcon(programIcon());
    setFixedSize(kClientSize);
    showCentred();

    // Children created after the window is shown must be shown one by one.
    searchBox_ = createSearchBox();
    searchButton_ = createButton(QStringLiteral("搜索"), QStringLiteral("searchButton"),
                                 kSearchButtonGeometry, ControlId::SearchButton);
    resultList_ = createResultList(listFont);
    openLinkButton_ = createButton(QStringLiteral("打开链接"), QStringLiteral("openLinkButton"),
                                   kOpenLinkButtonGeometry, ControlId::OpenLinkButton);
    statusText_ = createStatusText();
}

SearchWindow::~SearchWindow() {
    // QWidget's destructor still hides the window and so takes the focus from the search box:
    // nothing of that may reach the dispatcher from a window that is half gone.
    for (QObject* control : children()) control->disconnect(this);
}

void SearchWindow::showCentred() {
    create();  // the native window first, so that the platform can tell its frame margins
    const QSize frame = size().grownBy(windowHandle()->frameMargins());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.topLeft() + centredFramePosition(screen.size(), frame));
    show();
    activateWindow();
}

SearchBox* SearchWindow::createSearchBox() {
    auto* box = new SearchBox(this);
    box->setObjectName(QStringLiteral("searchBox"));
    box->setGeometry(kSearchBoxGeometry);
    box->show();
    connect(box, &SearchBox::focusGained, this,
            [this] { reportControlEvent(ControlId::SearchBox, ControlEventType::FocusGained); });
    connect(box, &SearchBox::focusLost, this,
            [this] { reportControlEvent(ControlId::SearchBox, ControlEventType::FocusLost); });
    return box;
}

QPushButton* SearchWindow::createButton(const QString& text, const QString& name,
                                        const QRect& geometry, ControlId control) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->show();
    connect(button, &QPushButton::clicked, this,
            [this, control] { reportControlEvent(control, ControlEventType::LeftClick); });
    return button;
}

ResultTable* SearchWindow::createResultList(const QFont& font) {
    auto* list = new ResultTable(this);
    list->setObjectName(QStringLiteral("resultList"));
    list->setFont(font);
    resultModel_ = new ResultModel(list);
    list->setModel(resultModel_);
    list->setColumnWidth(ResultModel::TitleColumn, kTitleColumnWidth);
    list->setColumnWidth(ResultModel::LinkColumn, kLinkColumnWidth);
    list->setGeometry(kResultListGeometry);
    list->show();
    connect(list, &ResultTable::leftButtonReleased, this,
            [this] { reportControlEvent(ControlId::ResultList, ControlEventType::LeftClick); });
    connect(list, &ResultTable::leftDoubleClicked, this, [this] {
        reportControlEvent(ControlId::ResultList, ControlEventType::LeftDoubleClick);
    });
    return list;
}

QLabel* SearchWindow::createStatusText() {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("statusText"));
    label->setGeometry(kStatusTextGeometry);
    label->setTextFormat(Qt::PlainText);  // an ampersand is shown as it is
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setFocusPolicy(Qt::NoFocus);
    label->show();
    return label;
}

void SearchWindow::focusSearchBox() {
    searchBox_->setFocus(Qt::OtherFocusReason);
}

void SearchWindow::showStatus(const StatusLine& status) {
    resultModel_->showPendingRows();
    QPalette colors = statusText_->palette();
    colors.setColor(QPalette::WindowText,
                    QColor(status.color.red, status.color.green, status.color.blue));
    statusText_->setPalette(colors);
    statusText_->setText(toQString(status.text));
}

void SearchWindow::setSearchEnabled(bool enabled) {
    resultModel_->showPendingRows();
    // Qt passes the focus on from a widget it disables; a search must leave the focus where
    // it was, so the button takes it back once it is enabled again.
    if (!enabled) searchButtonHadFocus_ = focusWidget() == searchButton_;
    // The button is disabled exactly while a search reads the index: the wait cursor tells the
    // user that the window is busy for that long.
    const bool wasEnabled = searchButton_->isEnabled();
    if (wasEnabled && !enabled) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!wasEnabled && enabled) QApplication::restoreOverrideCursor();
    searchButton_->setEnabled(enabled);
    if (enabled && searchButtonHadFocus_) {
        searchButtonHadFocus_ = false;
        searchButton_->setFocus(Qt::OtherFocusReason);
    }
}

void SearchWindow::clearRows() {
    resultModel_->clear();
}

void SearchWindow::appendRow(const ThreadEntry& entry) {
    resultModel_->appendRow(entry.title, entry.link);
}

std::size_t SearchWindow::rowCount() const {
    return resultModel_->storedRowCount();
}

std::u16string SearchWindow::searchText() const {
    return searchBox_->text().toStdU16String();
}

void SearchWindow::bindEnterShortcut() {
    if (enterShortcut_) return;
    enterShortcut_ = std::make_unique<QShortcut>(this);
    // Return and the keypad's Enter, without modifiers: Shift+Enter and the like do not match.
    enterShortcut_->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    enterShortcut_->setContext(Qt::WindowShortcut);
    connect(enterShortcut_.get(), &QShortcut::activated, this, &SearchWindow::reportEnterShortcut);
}

void SearchWindow::unbindEnterShortcut() {
    enterShortcut_.reset();
}

std::optional<std::u16string> SearchWindow::selectedLink() const {
    const QModelIndexList rows = resultList_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return resultModel_->link(static_cast<std::size_t>(rows.first().row()));
}

void SearchWindow::showError(std::u16string_view message) {
    showErrorBox(this, message);
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    emit windowEvent({.kind = EventKind::WindowClosed});
    QWidget::closeEvent(event);
}

void SearchWindow::reportControlEvent(ControlId control, ControlEventType type) {
    emit windowEvent({.kind = EventKind::Control, .control = control, .type = type});
}

void SearchWindow::reportEnterShortcut() {
    emit windowEvent({.kind = EventKind::Shortcut, .shortcutId = kSearchShortcutId});
}

}  // namespace quillscan
