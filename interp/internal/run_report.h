// SPDX-License-Identifier: GPL-3.0-or-later
// How the last run ended with an error: what, where, and the details a
// front end shows, worked out when first asked for.
#pragma once

#include <cstdint>

#include "language.h"

namespace korvane {

struct RunReport {
    int error_line = -1;
    // What the last report was and where, kept for its hint.
    int error_code = -1;
    int64_t error_place = -1;  // the first character of the token where it was found
    bool quiet = false;        // reading the text for a hint or an outline: an error only throws
    ErrorDetails details;      // of the last run's report, with its hint
    // The hint is worked out when first asked for: a run that no one asks
    // about pays nothing for it.
    bool details_pending = false;

    // Nothing reported, for a run to begin.
    void forget_report() {
        error_line = -1;
        error_code = -1;
        error_place = -1;
        details = ErrorDetails{};
        details_pending = false;
    }
};

}  // namespace korvane
