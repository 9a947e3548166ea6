// SPDX-License-Identifier: GPL-3.0-or-later
// The product's logo, drawn in code: 96 x 40 pixels.
#pragma once

#include <QPixmap>

namespace korvane {

QPixmap korvane_logo();

}  // namespace korvane
