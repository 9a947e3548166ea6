// SPDX-License-Identifier: GPL-3.0-or-later
#include "record.h"

namespace korvane::grade {

std::string_view status_name(Status status) {
    static constexpr std::string_view kNames[kStatusCount] = {"pass",       "differs", "error",      "time limit",
                                                              "step limit", "no main", "unreadable", "crashed"};
    return kNames[static_cast<int>(status)];
}

}  // namespace korvane::grade
