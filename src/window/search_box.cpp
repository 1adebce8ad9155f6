#include "window/search_box.h"

#include <QFocusEvent>

namespace quillscan {

SearchBox::SearchBox(QWidget* parent) : QLineEdit(parent) {}

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
