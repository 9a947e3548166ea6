// SPDX-License-Identifier: GPL-3.0-or-later
// What the timeline's exported functions (web_timeline.cpp) need of the
// boundary: the recorder of the page's own runs.
#pragma once

namespace korvane {

class Timeline;

// The timeline of the page canvas's last run, or null before the first.
const Timeline* page_timeline();

}  // namespace korvane
