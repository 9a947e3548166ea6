// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture.h"

namespace korvane {

Picture Picture::snapshot(const TXImage3& canvas, int32_t slot) {
    Picture picture;
    picture.width = canvas.width(slot);
    picture.height = canvas.height(slot);
    const uint8_t* bits = canvas.bits(slot);
    picture.pixels.assign(bits, bits + static_cast<size_t>(picture.width) * picture.height);
    picture.palette = canvas.palette(slot).entries;
    return picture;
}

}  // namespace korvane
