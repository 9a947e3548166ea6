// SPDX-License-Identifier: GPL-3.0-or-later
// The report's folder, written under a temporary name beside its place and
// renamed into it only when complete, so no half report is ever left; an
// earlier report there is replaced, anything else is never touched.
#pragma once

#include <string>

namespace korvane::grade {

class ReportFolder {
public:
    ReportFolder() = default;
    ~ReportFolder();  // removes the temporary folder unless committed
    ReportFolder(const ReportFolder&) = delete;
    ReportFolder& operator=(const ReportFolder&) = delete;

    // False with a message when `out` holds something that is not a report,
    // or the temporary folder cannot be made. With `keep`, the pictures and
    // programs of the report in `out` are copied in, for a merge.
    bool open(const std::string& out, bool keep, std::string& error);
    // A folder for one grading that leaves no report: removed at the end.
    bool open_scratch(std::string& error);
    // Path of a file or folder inside the temporary folder.
    std::string path(const std::string& relative) const;
    bool write(const std::string& relative, const std::string& data, std::string& error) const;
    // Renames the folder into place, replacing an earlier report.
    bool commit(std::string& error);

private:
    std::string out_;
    std::string temp_;  // empty once committed or removed
};

}  // namespace korvane::grade
