// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "submissions.h"

namespace korvane::grade {
namespace {

namespace fs = std::filesystem;

TEST(Submissions, NamesAndNumbersFromLearningManagementSystems) {
    const struct {
        const char* given;
        const char* student;
        const char* id;
    } cases[] = {
        {"Jane Doe_12345_assignsubmission_file_", "Jane Doe", "12345"},
        {"doejane_12345_67890_circle", "doejane", "12345"},
        {"doejane_LATE_12345_67890_circle", "doejane", "12345"},
        {"ann_2024", "ann_2024", ""},
        {"ann", "ann", ""},
    };
    for (const auto& c : cases) {
        std::string student, id;
        split_lms_name(c.given, student, id);
        EXPECT_EQ(student, c.student) << c.given;
        EXPECT_EQ(id, c.id) << c.given;
    }
}

TEST(Submissions, NamesSortAsPeopleSortThem) {
    std::vector<std::string> names = {"zoe", "Łukasz", "émile", "Lucas", "Ann", "adam", "Zbigniew", "Ömer"};
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return sort_key(a) < sort_key(b); });
    EXPECT_EQ(names, (std::vector<std::string>{"adam", "Ann", "émile", "Lucas", "Łukasz", "Ömer", "Zbigniew", "zoe"}));
}

TEST(Submissions, LinksAndHugeFilesAreRefusedAndTheNamedProgramPicked) {
    const fs::path dir = fs::path(testing::TempDir()) / "grade_submissions_test";
    fs::remove_all(dir);
    fs::create_directories(dir / "ben");
    fs::create_directories(dir / "cy");
    fs::create_directories(dir / "di");
    std::ofstream(dir / "secret.txt") << "the teacher's\n";
    fs::create_symlink(dir / "secret.txt", dir / "mallory.cg");
    std::ofstream(dir / "ben" / "Circle.CG") << "main() { }\n";
    std::ofstream(dir / "ben" / "notes.cg") << "main() { }\n";
    fs::create_symlink(dir / "secret.txt", dir / "cy" / "circle.cg");
    std::ofstream(dir / "di" / "main.cg") << std::string(kMaxProgramBytes + 1, ' ');
    const std::vector<Record> records = find_submissions(
        {(dir / "mallory.cg").string(), (dir / "ben").string(), (dir / "cy").string(), (dir / "di").string()},
        "circle.cg");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].name, "ben");
    EXPECT_EQ(records[0].program, (dir / "ben" / "Circle.CG").string());
    EXPECT_EQ(records[1].message, "circle.cg: a link, not a file");
    EXPECT_EQ(records[2].message, "over 1 MB: not a program");
    EXPECT_EQ(records[3].name, "mallory");
    EXPECT_EQ(records[3].message, "a link, not a file");
    for (const Record& r : std::vector<Record>(records.begin() + 1, records.end())) EXPECT_TRUE(r.program.empty());
    fs::remove_all(dir);
}

}  // namespace
}  // namespace korvane::grade
