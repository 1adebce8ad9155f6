#include "window/error_box.h"

#include <QMessageBox>

#include "window/qt_text.h"

namespace quillscan {

void showErrorBox(QWidget* owner, std::u16string_view message) {
    QMessageBox box(QMessageBox::NoIcon, toQString(kErrorTitle), toQString(message),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    // Without a window manager nothing reactivates the owner once the box is gone.
    if (owner) owner->activateWindow();
}

}  // namespace quillscan
