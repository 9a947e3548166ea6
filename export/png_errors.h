// SPDX-License-Identifier: GPL-3.0-or-later
// libpng's error hooks, shared by the PNG reader and writer: an error keeps
// its message for the caller and leaves by longjmp to the caller's setjmp;
// warnings are dropped.
#pragma once

#include <png.h>

namespace korvane {

struct PngErrors {
    char message[256] = "";
};

// For png_create_*_struct with a PngErrors as the error pointer.
void on_png_error(png_structp png, png_const_charp message);
void on_png_warning(png_structp png, png_const_charp message);

}  // namespace korvane
