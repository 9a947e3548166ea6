// SPDX-License-Identifier: GPL-3.0-or-later
#include "html_text.h"

namespace korvane {

std::string html_escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            case '\0': out += "&#xFFFD;"; break;  // a page may not hold NUL
            default: out += c;
        }
    }
    return out;
}

}  // namespace korvane
