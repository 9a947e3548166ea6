// SPDX-License-Identifier: GPL-3.0-or-later
// The inspector's status line for one canvas pixel: program coordinates
// (y up, as the axis labels run), the palette index and its colour as the
// display picture has them, and the drawing call that last wrote the pixel.
#pragma once

#include <QPoint>
#include <QString>
#include <string>

#include "picture.h"

namespace korvane {

// What is known about the call that wrote a pixel.
struct DrawnBy {
    enum class Kind { Call, NotRecorded, ChangedSinceShow } kind = Kind::NotRecorded;
    int line = -1;  // counted from 0, as error messages count
    std::string builtin;
};

// The program coordinates of a screen position on the canvas.
QPoint program_point(const Picture& display, QPoint screen);

// For a screen position inside the display picture.
QString inspector_text(const Picture& display, QPoint screen, const DrawnBy& origin);

}  // namespace korvane
