#include "window/search_box.h"

#include <QFocusEvent>
#include <limits>

namespace quillscan {

SearchBox::SearchBox(QWidget* parent) : QLineEdit(parent) {
    // A line edit cuts typed and pasted text at 32767 characters by default; the box takes a
    // query of any length, since one cut short would search for something else.
    setMaxLength(std::numeric_limits<int>::max());
}

void SearchBox::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
        QFocusEvent withoutSelectAll(QEvent::FocusIn, Qt::OtherFocusReason);
        QLineEdit::focusInEvent(&withoutSelectAll);
    } else {
        QLineEdit::focusInEvent(event);
    }
    emit focusGained();
}

void SearchBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLost();
}

}  // namespace quillscan
