// SPDX-License-Identifier: GPL-3.0-or-later
// Small pictures for the report that keep every drawn pixel: a one-pixel
// curve, the whole point of an exercise, must not vanish when shrunk.
#pragma once

#include <string>

#include "picture.h"

namespace korvane::grade {

// A quarter of the width and height: each 4 x 4 block takes the colour of
// a pixel in it that differs from the picture's commonest colour, if any.
Picture thumbnail(const Picture& picture);

// The thumbnail's name in the report beside the picture's: "x.png" -> "x.small.png".
std::string thumbnail_name(const std::string& picture_name);

// Writes the thumbnail of the picture beside it in the report folder.
bool write_thumbnail(const Picture& picture, const std::string& path, std::string& error);

}  // namespace korvane::grade
