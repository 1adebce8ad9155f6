// The main window as start-up builds it, and its controls by name, for the widget tests.
#pragma once

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <memory>

#include "window/list_font.h"
#include "window/search_window.h"

namespace quillscan::test {

inline std::unique_ptr<SearchWindow> openSearchWindow() {
    auto window = std::make_unique<SearchWindow>(createListFont(96));
    window->focusSearchBox();
    return window;
}

struct Controls {
    explicit Controls(SearchWindow& window)
        : searchBox(window.findChild<QLineEdit*>(QStringLiteral("searchBox"))),
          searchButton(window.findChild<QPushButton*>(QStringLiteral("searchButton"))),
          resultList(window.findChild<QTableView*>(QStringLiteral("resultList"))),
          openLinkButton(window.findChild<QPushButton*>(QStringLiteral("openLinkButton"))),
          statusText(window.findChild<QLabel*>(QStringLiteral("statusText"))) {}

    QLineEdit* searchBox;
    QPushButton* searchButton;
    QTableView* resultList;
    QPushButton* openLinkButton;
    QLabel* statusText;
};

}  // namespace quillscan::test
