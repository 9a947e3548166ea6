// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "exercise.h"
#include "verdict.h"

namespace korvane::exercise {
namespace {

TEST(Json, ReadsEveryKindAndEscape) {
    Json v;
    std::string error;
    ASSERT_TRUE(parse_json(R"( {"a": [1, -2.5e1, true, false, null], "s": "q\"\\\/\n\u00e9\ud83d\ude00"} )", v, error))
        << error;
    ASSERT_EQ(v.kind, Json::OBJECT);
    const Json* a = v.find("a");
    ASSERT_TRUE(a);
    ASSERT_EQ(a->items.size(), 5u);
    EXPECT_EQ(a->items[1].number, -25);
    EXPECT_TRUE(a->items[2].boolean);
    EXPECT_EQ(a->items[4].kind, Json::NUL);
    EXPECT_EQ(v.find("s")->text, "q\"\\/\n\xC3\xA9\xF0\x9F\x98\x80");
}

TEST(Json, ErrorsNameTheByte) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"a": 1,})", "invalid JSON at byte 8: a key in quotes expected"},
        {R"({"a": 01})", "invalid JSON at byte 6: a number with a leading 0"},
        {R"(["x\q"])", "invalid JSON at byte 4: an unknown escape"},
        {R"({"a": 1, "a": 2})", "invalid JSON at byte 9: a key given twice"},
        {"[\"\t\"]", "invalid JSON at byte 2: a control character in a string"},
        {"[1] 2", "invalid JSON at byte 4: text after the value"},
        {R"(["\ud800"])", "invalid JSON at byte 8: half a surrogate pair"},
        {"", "invalid JSON at byte 0: a value is missing"},
    };
    for (const auto& [text, want] : cases) {
        Json v;
        std::string error;
        EXPECT_FALSE(parse_json(text, v, error)) << text;
        EXPECT_EQ(error, want) << text;
    }
    Json deep;
    std::string error;
    EXPECT_FALSE(parse_json(std::string(100000, '['), deep, error));
    EXPECT_EQ(error, "invalid JSON at byte 65: nested too deeply");
}

const std::vector<std::string> kFiles = {"expected.png", "expected-b.png", "big.png", "input.txt",
                                         "two.txt",      "task.md",        "start.cg"};

TEST(ExerciseFile, ChecksTakeTheTopLevelDefaults) {
    Exercise e;
    std::string error;
    ASSERT_TRUE(parse_exercise(R"({"title": "Circle", "seed": 7, "tolerance": 2, "statement": "task.md",
        "forbid": ["Circle", "DISK"],
        "checks": [{"name": "small"},
                   {"name": "big", "expected": "big.png", "input": "two.txt", "seed": 8, "points": 2.5,
                    "visibility": "hidden", "max_steps": 5000, "timeout": 1.5}]})",
                               kFiles, e, error))
        << error;
    EXPECT_EQ(e.title, "Circle");
    EXPECT_EQ(e.statement, "task.md");
    EXPECT_EQ(e.forbid, (std::vector<std::string>{"circle", "disk"}));
    ASSERT_EQ(e.checks.size(), 2u);
    const Check& small = e.checks[0];
    EXPECT_EQ(small.expected, (std::vector<std::string>{"expected-b.png", "expected.png"}));
    EXPECT_EQ(small.input, "input.txt");
    EXPECT_EQ(small.seed, 7u);
    EXPECT_EQ(small.tolerance, 2);
    EXPECT_EQ(small.points, 1);
    EXPECT_EQ(small.visibility, Visibility::VISIBLE);
    EXPECT_EQ(small.max_steps, kDefaultMaxSteps);
    const Check& big = e.checks[1];
    EXPECT_EQ(big.expected, (std::vector<std::string>{"big.png"}));
    EXPECT_EQ(big.input, "two.txt");
    EXPECT_EQ(big.seed, 8u);
    EXPECT_EQ(big.points, 2.5);
    EXPECT_EQ(big.visibility, Visibility::HIDDEN);
    EXPECT_EQ(big.max_steps, 5000u);
    EXPECT_EQ(big.timeout, 1.5);

    // A folder as it always was: one check of its pictures.
    ASSERT_TRUE(parse_exercise("", {"expected.png"}, e, error)) << error;
    ASSERT_EQ(e.checks.size(), 1u);
    EXPECT_EQ(e.checks[0].name, "check 1");
    EXPECT_TRUE(e.checks[0].input.empty());
}

TEST(ExerciseFile, RefusesWhatWouldGradeWrongly) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"tolerence": 1})", "unknown key \"tolerence\""},
        {R"({"checks": [{"name": "a", "colour": 4}]})", "check 1: unknown key \"colour\""},
        {R"({"name": "a"})", "unknown key \"name\""},
        {R"({"checks": [{"forbid": ["circle"]}]})", "check 1: unknown key \"forbid\""},
        {R"({"expected": "missing.png"})", "\"expected\": no file \"missing.png\" in the exercise folder"},
        {R"({"checks": [{}, {"input": "../secret.txt"}]})",
         "check 2: \"input\": must be the name of a file in the exercise folder"},
        {R"({"starter": "nope.cg"})", "\"starter\": no file \"nope.cg\" in the exercise folder"},
        {R"({"forbid": ["circel"]})", "\"forbid\": \"circel\" is not a built-in"},
        {R"({"checks": [{"name": "a"}, {"name": "a"}]})", "check 2: the name \"a\" is taken"},
        {R"({"checks": [{"visibility": "secret"}]})",
         "check 1: \"visibility\": must be \"visible\", \"hidden\", \"after_due_date\" or \"after_published\""},
        {R"({"checks": []})", "\"checks\": must be a list of check objects, at least one"},
        {R"({"seed": 4294967296})", "\"seed\": must be a whole number 0..4294967295"},
        {"[1]", "invalid JSON: not an object"},
    };
    for (const auto& [text, want] : cases) {
        Exercise e;
        std::string error;
        EXPECT_FALSE(parse_exercise(text, kFiles, e, error)) << text;
        EXPECT_EQ(error, want) << text;
    }
    Exercise e;
    std::string error;
    EXPECT_FALSE(parse_exercise("{}", {"input.txt"}, e, error));
    EXPECT_EQ(error, "no accepted picture (expected*.png)");
}

// The keys are documented once, in the man page: each heads an item there.
TEST(ExerciseFile, ManPageNamesEveryKey) {
    std::ifstream in(KORVANE_SOURCE_DIR "/packaging/korvane-grade.1");
    const std::string page(std::istreambuf_iterator<char>(in), {});
    ASSERT_FALSE(page.empty());
    ASSERT_FALSE(exercise_keys().empty());
    for (const ExerciseKey& key : exercise_keys())
        EXPECT_NE(page.find(".TP\n.B " + std::string(key.name) + "\n"), std::string::npos) << key.name;
}

TEST(Forbid, OnlyCallsTheScannerReadsCount) {
    Exercise e;
    e.forbid = {"circle"};
    const std::string program =
        "// circle(1, 2, 3, 4) is what we must not call\n"
        "main() {\n"
        "  /* circle */ print(\"circle\");\n"
        "  circles = 2;\n"
        "  Circle(200, 200, 100, 15);\n"
        "}\n";
    const std::optional<ForbiddenUse> use = find_forbidden(e, program);
    ASSERT_TRUE(use);
    EXPECT_EQ(use->builtin, "circle");
    EXPECT_EQ(use->line, 4);
    EXPECT_EQ(forbidden_message(*use), "forbidden built-in circle");
    e.forbid = {"disk"};
    EXPECT_FALSE(find_forbidden(e, program));
}

TEST(Score, PointsOfThePassingChecksAndTheWorstStatus) {
    Exercise e;
    e.checks.resize(3);
    e.checks[0].points = 1;
    e.checks[1].points = 2;
    e.checks[2].points = 4;
    const std::vector<Status> statuses = {Status::PASS, Status::DIFFERS, Status::PASS};
    const Score s = score_of(e, statuses);
    EXPECT_EQ(s.score, 5);
    EXPECT_EQ(s.max_score, 7);
    EXPECT_EQ(worst_status(statuses), Status::DIFFERS);
    const std::vector<Status> out = {Status::STEP_LIMIT, Status::OUT_OF_INPUT, Status::PASS};
    EXPECT_EQ(worst_status(out), Status::OUT_OF_INPUT);
    EXPECT_EQ(score_of(e, out).score, 4);
    Status named = Status::PASS;
    EXPECT_TRUE(status_from_name("out of input", named));
    EXPECT_EQ(named, Status::OUT_OF_INPUT);
}

TEST(Visibility, WhatStudentsSeeWhen) {
    Exercise e;
    e.checks.resize(4);
    e.checks[1].visibility = Visibility::HIDDEN;
    e.checks[2].visibility = Visibility::AFTER_DUE_DATE;
    e.checks[3].visibility = Visibility::AFTER_PUBLISHED;
    EXPECT_EQ(shown_checks(e, Moment::BEFORE_DUE_DATE), (std::vector<size_t>{0}));
    EXPECT_EQ(shown_checks(e, Moment::AFTER_DUE_DATE), (std::vector<size_t>{0, 2}));
    EXPECT_EQ(shown_checks(e, Moment::AFTER_PUBLISHED), (std::vector<size_t>{0, 2, 3}));
}

Picture blank() {
    Picture p;
    p.width = p.height = 400;
    p.pixels.assign(400 * 400, 15);
    return p;
}

TEST(Canvas, NearestAlternativeWithinTheTolerance) {
    Exercise e;
    Check c;
    c.expected = {"a.png", "b.png"};
    c.tolerance = 1;
    e.pictures["a.png"] = blank();
    Picture b = blank();
    b.pixels[10] = 4;
    e.pictures["b.png"] = b;
    Picture canvas = b;
    canvas.pixels[400 * 3 + 7] = 4;  // x 7, y 3
    CanvasVerdict v = judge_canvas(e, c, canvas);
    EXPECT_TRUE(v.pass);
    EXPECT_EQ(v.nearest, 1u);
    EXPECT_EQ(difference_message(c, v), "1 pixel differs from b.png, within x 7..7, y 3..3");
    canvas.pixels[400 * 5 + 9] = 4;
    v = judge_canvas(e, c, canvas);
    EXPECT_FALSE(v.pass);
    EXPECT_EQ(difference_message(c, v), "2 pixels differ from b.png, within x 7..9, y 3..5");
    EXPECT_EQ(count_of(1, "submission"), "1 submission");
    EXPECT_EQ(count_of(0, "submission"), "0 submissions");
}

TEST(Grouping, KeysAndFingerprints) {
    EXPECT_NE(mistake_key(Status::ERROR, "not a variable or function", "c1.png"),
              mistake_key(Status::TIME_LIMIT, "not a variable or function", "c1.png"));
    EXPECT_NE(mistake_key(Status::ERROR, "a", "bc.png"), mistake_key(Status::ERROR, "ab", "c.png"));
    EXPECT_EQ(mistake_key(Status::DIFFERS, "", "c1.png"), mistake_key(Status::DIFFERS, "", "c1.png"));
    EXPECT_EQ(program_fingerprint("main() {\r\n  // mine\r\n  clear( 15 ); /* x */\r\n}\r\n"),
              program_fingerprint("main(){clear(15);}"));
    EXPECT_NE(program_fingerprint("main() { print(\"a b\"); }"), program_fingerprint("main() { print(\"ab\"); }"));
    EXPECT_NE(program_fingerprint("main() { x = 1; }"), program_fingerprint("main() { x = 2; }"));
}

TEST(ExerciseFolder, LoadsPicturesAndNamesTheFileAtFault) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(testing::TempDir()) / "exercise_folder_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string error;
    Picture p = blank();
    ASSERT_TRUE(write_png((dir / "expected.png").string(), p, error)) << error;
    std::ofstream(dir / "exercise.json") << R"({"checks": [{"expected": "expected.png"}, {"points": 3}]})";
    Exercise e;
    ASSERT_TRUE(load_exercise(dir.string(), e, error)) << error;
    EXPECT_EQ(e.title, "exercise_folder_test");
    EXPECT_EQ(e.pictures.size(), 1u);
    std::ofstream(dir / "exercise.json") << R"({"checks": [{"timeout": 0}]})";
    EXPECT_FALSE(load_exercise(dir.string(), e, error));
    EXPECT_EQ(error, (dir / "exercise.json").string() + ": check 1: \"timeout\": must be seconds above 0");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace korvane::exercise
