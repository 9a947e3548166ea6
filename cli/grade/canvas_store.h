// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of the report: each distinct final canvas once, so identical
// canvases share one file (which is how groups are found), and each
// difference picture once per canvas and accepted picture.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "exercise.h"
#include "picture.h"
#include "report_folder.h"

namespace korvane::grade {

class CanvasStore {
public:
    explicit CanvasStore(const ReportFolder& folder) : folder_(folder) {}

    // Moves the runner's PNG of `canvas` to pictures/canvas-N.png, or drops
    // it when an identical canvas is already kept. Returns the name in the
    // report ("pictures/canvas-N.png"); empty with error when it cannot be kept.
    std::string keep(const Picture& canvas, const std::string& png, std::string& error);

    // pictures/canvas-N-diff-K.png: the kept canvas against accepted picture k,
    // drawn on first use; empty with error when it cannot be written.
    std::string difference(const std::string& kept, const Picture& canvas, const Exercise& exercise, size_t k,
                           std::string& error);

private:
    const ReportFolder& folder_;
    std::multimap<uint64_t, std::pair<Picture, std::string>> kept_;  // by hash: picture and its name
    std::set<std::string> differences_;
};

}  // namespace korvane::grade
