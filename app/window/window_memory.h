// SPDX-License-Identifier: GPL-3.0-or-later
// What the window remembers from one session to the next, in the user's
// settings: its geometry and dock layout, the canvas zoom, Larger Text, the
// magnifier's place and the palette file chosen at the first start, so that dialog is
// not asked again.
#pragma once

#include <QPoint>
#include <QString>

class QMainWindow;

namespace korvane {

namespace window_memory {

// The palette file chosen last; empty before the first choice.
QString paletteFile();
void setPaletteFile(const QString& path);

// View > Larger Text, on or off.
bool largerText();
void setLargerText(bool on);

// Where the magnifier sits, from the canvas's top left corner.
QPoint magnifierOffset();
void setMagnifierOffset(QPoint offset);

// Geometry, docks and zoom as the window closes; restore() gives the zoom
// back (1 when nothing was kept).
void save(const QMainWindow& window, int zoom);
int restore(QMainWindow& window);

}  // namespace window_memory

}  // namespace korvane
