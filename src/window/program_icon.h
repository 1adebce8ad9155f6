// The program's icon.
#pragma once

#include <QIcon>

namespace quillscan {

// A magnifying glass over a page of lines, drawn at 16, 24, 32, 48 and 64 pixels.
QIcon programIcon();

}  // namespace quillscan
