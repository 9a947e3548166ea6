// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of pauses, the browser's twin of the window's: at a pause
// the worker is handed the pause's JSON, the statement's range and the
// canvas, and answers with how the run goes on. Breakpoints, pixel watches
// and a command given while the program runs come from the worker too,
// through the exports of korvane_web.h.
#pragma once

#include "interpreter.h"
#include "pixel_watches.h"

namespace korvane {

class WebPauses : public PauseHost {
public:
    WebPauses(Interpreter& interpreter, const TXImage3& canvas);

    // Before a run: how it begins, and the watched pixels' colours as they are now.
    void begin_run(PauseCommand start);
    // Each replaces what was set, also while a run is paused or in a bridge call.
    void set_breakpoints(const int32_t* lines, int count);
    // count pixels, x and y pairs from xy.
    void set_watches(const int32_t* xy, int count);
    // A command given while the program runs.
    void request(PauseCommand command) { interpreter_.request(command); }

    PauseCommand pause(const PauseSnapshot& at) override;
    bool watched_pixel_changed() override;

private:
    Interpreter& interpreter_;
    const TXImage3& canvas_;
    PixelWatches watches_;
};

// The page session's (boundary.cpp): korvane.run's fresh sessions never pause.
WebPauses& page_pauses();

}  // namespace korvane
