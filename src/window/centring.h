// Where a window goes so that it sits in the middle of the screen.
#pragma once

#include <QPoint>
#include <QSize>

namespace quillscan {

// Top-left corner of the outer frame, relative to the screen's own top-left: on each axis
// (screen - min(screen, frame)) / 2, so a frame larger than the screen starts at its edge.
QPoint centredFramePosition(QSize screen, QSize frame);

}  // namespace quillscan
