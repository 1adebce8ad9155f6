// The program's main window: search box, search button, result list, open-link button, status.
#pragma once

#include <QWidget>
#include <memory>

#include "index/types.h"
#include "window/window_controls.h"
#include "window/window_event.h"

class QLabel;
class QPushButton;
class QShortcut;

namespace quillscan {

class ResultModel;
class ResultTable;
class SearchBox;

// Pure presentation: it shows what the search and the dispatcher tell it to, and turns what the
// user does into WindowEvent values (the windowEvent signal) without deciding anything.
class SearchWindow : public QWidget, public ResultView, public WindowControls {
    Q_OBJECT

public:
    // Shows the window, centred and active, then creates its five controls; the list gets
    // `listFont`. The focus is left unset: start-up gives it to the search box.
    explicit SearchWindow(const QFont& listFont);
    ~SearchWindow() override;

    void focusSearchBox();

    // ResultView
    void showStatus(const StatusLine& status) override;
    void setSearchEnabled(bool enabled) override;
    void clearRows() override;
    void appendRow(const ThreadEntry& entry) override;
    std::size_t rowCount() const override;

    // WindowControls
    std::u16string searchText() const override;
    ResultView& resultView() override { return *this; }
    void bindEnterShortcut() override;
    void unbindEnterShortcut() override;
    std::optional<std::u16string> selectedLink() const override;
    void showError(std::u16string_view message) override;

signals:
    void windowEvent(const quillscan::WindowEvent& event);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showCentred();
    SearchBox* createSearchBox();
    QPushButton* createButton(const QString& text, const QString& name, const QRect& geometry,
                              ControlId control);
    ResultTable* createResultList(const QFont& font);
    QLabel* createStatusText();

    void reportControlEvent(ControlId control, ControlEventType type);
    void reportEnterShortcut();

    SearchBox* searchBox_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    ResultModel* resultModel_ = nullptr;
    ResultTable* resultList_ = nullptr;
    QPushButton* openLinkButton_ = nullptr;
    QLabel* statusText_ = nullptr;
    std::unique_ptr<QShortcut> enterShortcut_;
    bool searchButtonHadFocus_ = false;
};

}  // namespace quillscan
