// The single-line search box.
#pragma once

#include <QLineEdit>

namespace quillscan {

// A line edit that reports gaining and losing the focus, and that keeps its text unselected
// when Tab brings the focus in (a plain QLineEdit selects all of it then).
class SearchBox : public QLineEdit {
    Q_OBJECT

public:
    explicit SearchBox(QWidget* parent = nullptr);

signals:
    void focusGained();
    void focusLost();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace quillscan
