// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of the report: each distinct final canvas once, so identical
// canvases share one file, and each difference picture once per canvas and
// accepted picture.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "picture.h"
#include "report_folder.h"

namespace korvane::grade {

class CanvasStore {
public:
    // `prefix` starts each new file name, so a merged report keeps both runs' files apart.
    CanvasStore(const ReportFolder& folder, std::string prefix) : folder_(folder), prefix_(std::move(prefix)) {}

    // Moves the runner's PNG of `canvas` to pictures/canvas-N.png, or drops
    // it when an identical canvas is already kept. Returns the name in the
    // report ("pictures/canvas-N.png"); empty with error when it cannot be kept.
    std::string keep(const Picture& canvas, const std::string& png, std::string& error);

    // The kept canvas against an accepted picture (named in the report
    // `accepted_name`), drawn on first use; empty with error when it cannot be written.
    std::string difference(const std::string& kept, const Picture& canvas, const Picture& accepted,
                           const std::string& accepted_name, std::string& error);

    // Text that is the same for two canvases exactly when their pixels and palettes are.
    static std::string content_key(const Picture& canvas);

private:
    const ReportFolder& folder_;
    std::string prefix_;
    std::multimap<uint64_t, std::pair<Picture, std::string>> kept_;  // by hash: picture and its name
    std::set<std::string> differences_;
};

}  // namespace korvane::grade
