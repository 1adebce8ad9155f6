#include "window/centring.h"

#include <algorithm>

namespace quillscan {

namespace {

int centredStart(int screen, int frame) {
    return (screen - std::min(screen, frame)) / 2;
}

}  // namespace

QPoint centredFramePosition(QSize screen, QSize frame) {
    return {centredStart(screen.width(), frame.width()),
            centredStart(screen.height(), frame.height())};
}

}  // namespace quillscan
