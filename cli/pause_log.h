// SPDX-License-Identifier: GPL-3.0-or-later
// The runner's side of pauses: each pause becomes one JSON line, and the
// run goes on at once.
#pragma once

#include <ostream>

#include "pause_json.h"
#include "pixel_watches.h"

namespace korvane {

class PauseLog : public PauseHost {
public:
    PauseLog(std::ostream& out, const TXImage3& canvas, const PixelWatches& watches)
        : out_(out), canvas_(canvas), watches_(watches) {
        watches_.look(canvas_);
    }

    PauseCommand pause(const PauseSnapshot& at) override {
        out_ << pause_json(at) << '\n';
        return {};
    }
    bool watched_pixel_changed() override { return watches_.changed(canvas_); }

private:
    std::ostream& out_;
    const TXImage3& canvas_;
    PixelWatches watches_;
};

}  // namespace korvane
