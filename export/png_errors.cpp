// SPDX-License-Identifier: GPL-3.0-or-later
#include "png_errors.h"

#include <cstdio>

namespace korvane {

void on_png_error(png_structp png, png_const_charp message) {
    auto* errors = static_cast<PngErrors*>(png_get_error_ptr(png));
    std::snprintf(errors->message, sizeof errors->message, "%s", message);
    png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

}  // namespace korvane
