// The result list: a report-style table of title and link with grid lines to its bottom.
#pragma once

#include <QTableView>

namespace quillscan {

// Rows have one fixed height, derived from the font, so a million of them need no measuring.
// Clicking below the last row clears the selection. Left-button releases and double-clicks
// are reported after the view has updated its selection.
class ResultTable : public QTableView {
    Q_OBJECT

public:
    explicit ResultTable(QWidget* parent = nullptr);

signals:
    void leftButtonReleased();
    void leftDoubleClicked();

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int rowPitch() const;
    void applyRowHeight();
    void paintGridLines();
};

}  // namespace quillscan
