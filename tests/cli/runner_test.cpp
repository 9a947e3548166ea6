// SPDX-License-Identifier: GPL-3.0-or-later
// The runner in-process: what a program prints, how its run ends, what it
// reads, and which pictures it leaves.
#include "runner.h"
#include "options.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "language.h"
#include "picture.h"
#include "ximage3.h"

#include "test_support.h"

namespace korvane {
namespace {

using testing::DecodedGif;
using testing::read_gif;
using testing::read_jpeg;
using testing::read_png;
using testing::ScratchDir;

struct Outcome {
    int status;
    std::string out, err;
};

class Runner : public ::testing::Test {
protected:
    // Runs a program text (written with LF line ends) through the runner.
    Outcome run(const std::string& program, const std::string& input = "") {
        std::ofstream(dir_.file("p.cg"), std::ios::binary) << program;
        options_.program = dir_.file("p.cg");
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = run_program_file(options_, in, out, err);
        return {status, out.str(), err.str()};
    }
    ScratchDir dir_;
    RunnerOptions options_;
};

TEST_F(Runner, OutputLines) {
    const struct {
        const char* body;
        const char* out;
    } cases[] = {
        {"print(7);", "7 \n"},
        {"print(-12 * 3);", "-36 \n"},
        {"print(\"ab\");", "ab\n"},
        {"puts(\"ab\");", "ab\n"},
        {"putch(65);", "A\n"},
        {"putch(0);", "\n"},
        // A UTF-8 program and a Latin-1 one both print UTF-8.
        {"print(\"\xc3\xa9 \xe2\x82\xac x\"); putch(233);", "\xc3\xa9 \xe2\x82\xac x\n\xc3\xa9\n"},
        {"print(\"\xe9t\xe9\"); putch(233);", "\xc3\xa9t\xc3\xa9\n\xc3\xa9\n"},
        {"print(\"a\"); print(12); puts(\"b c\");", "a\n12 \nb c\n"},
        {"clear(3); point(1, 1);", ""},
    };
    for (const auto& c : cases) {
        const Outcome o = run(std::string("main() {\n") + c.body + "\n}\n");
        EXPECT_EQ(o.out, c.out) << c.body;
        EXPECT_EQ(o.err, "") << c.body;
        EXPECT_EQ(o.status, STATUS_RAN) << c.body;
    }
}

TEST_F(Runner, ExitStatusesAndReports) {
    const struct {
        const char* program;
        const char* input;
        int status;
        const char* err;
    } cases[] = {
        {"main() {\nreturn 5;\n}\n", "", STATUS_RAN, ""},
        {"main() {\nprint(1);\nend;\nprint(2);\n}\n", "", STATUS_RAN, ""},
        {"int x;\nf() {\n}\n", "", STATUS_NO_MAIN, "Program Error! Can't find main()\n"},
        {"main() {\nx = 1;\ny = 2 +;\n}\n", "", STATUS_ERROR, "not a variable or function in line 1\n"},
        {"main() {\nint a;\n\nprint(a b);\n}\n", "", STATUS_ERROR, "parentheses expected in line 3\n"},
        {"main() {\nn = getnum();\n}\nint n;\n", "abc\n", STATUS_ERROR, "'abc' is not a valid integer value\n"},
        // Its outline marks keep the region fillable: the fill would go round for ever.
        {"main() {\nsetcolor(2);\nfillrect(139, 37, 180, 44);\nfloodfill(376, 304, 1, 0, 0, 12);\nprint(1);\n}\n", "",
         STATUS_ERROR, "flood fill would never end in line 3\n"},
    };
    for (const auto& c : cases) {
        const Outcome o = run(c.program, c.input);
        EXPECT_EQ(o.status, c.status) << c.program;
        EXPECT_EQ(o.err, c.err) << c.program;
    }
}

TEST_F(Runner, HintsFollowTheMessageAndWarningsPrecedeTheRun) {
    std::ofstream(dir_.file("p.cg"), std::ios::binary)
        << "main() {\n  line(1, 2, 300);\n  print(0x10);\n  pont(200, 200);\n}\n";
    const auto command = [&](std::vector<std::string> args) {
        std::istringstream in;
        std::ostringstream out, err;
        args.insert(args.begin(), dir_.file("p.cg"));
        const int status = runner_main(args, in, out, err);
        return Outcome{status, out.str(), err.str()};
    };
    const Outcome hinted = command({});
    EXPECT_EQ(hinted.status, STATUS_ERROR);
    EXPECT_EQ(hinted.err,
              "warning: line 1, column 2: `line` takes 4 values, line(x1, y1, x2, y2); this call gives 3: the "
              "missing ones are 0.\n"
              "warning: line 2, column 8: `0x10` is read as 0: a number is its leading decimal digits, and there "
              "are no hexadecimal numbers: write 16.\n"
              "not a variable or function in line 3\n"
              "hint: line 3, column 2: `pont` is not declared: no variable, function or built-in has this name. "
              "Did you mean `point`?\n");
    const Outcome plain = command({"--no-hints"});
    EXPECT_EQ(plain.status, STATUS_ERROR);
    EXPECT_EQ(plain.err, "not a variable or function in line 3\n");
    // The example of the one message whose cause needs a canvas.
    for (const MessageInfo& m : message_table()) {
        if (std::string(m.example).find("floodfill") == std::string::npos) continue;
        std::ofstream(dir_.file("p.cg"), std::ios::binary) << m.example;
        const Outcome o = command({});
        EXPECT_EQ(o.err.substr(0, o.err.find(" in line ")), m.message);
        EXPECT_NE(o.err.find("\nhint: line 1, column 0: "), std::string::npos) << o.err;
    }
}

TEST_F(Runner, ReadsTheProgramFileToItsLastByte) {
    // Sizes one past a power of two, the last byte the closing brace.
    for (const size_t size : {4097u, 8193u, 65537u}) {
        const std::string head = "main() {\nprint(1);\n";
        const Outcome o = run(head + std::string(size - head.size() - 1, ' ') + "}");
        EXPECT_EQ(o.status, STATUS_RAN) << size << ": " << o.err;
        EXPECT_EQ(o.out, "1 \n") << size;
    }
}

TEST_F(Runner, EndStopsTheProgramButNotTheRunner) {
    const Outcome o = run("main() {\nprint(1);\nend;\nprint(2);\n}\n");
    EXPECT_EQ(o.out, "1 \n");
}

TEST_F(Runner, InputAnswersOneLineEach) {
    const char* program =
        "int a, b, c, d;\n"
        "main() {\na = getnum();\nb = getnum();\nc = getche();\nd = getche();\n"
        "print(a); print(b); print(c); print(d);\n}\n";
    const struct {
        const char* input;
        const char* out;
    } cases[] = {
        {"12\n -3 \nxyz\n\n", "12 \n-3 \n120 \n0 \n"},
        {"", "0 \n0 \n0 \n0 \n"},                          // end of input: empty answers
        {"7\r\n+8\r\n\xe9\r\nq", "7 \n8 \n-23 \n113 \n"},  // CR LF input, last line unended
    };
    for (const auto& c : cases) {
        const Outcome o = run(program, c.input);
        EXPECT_EQ(o.out, c.out) << c.input;
        EXPECT_EQ(o.status, STATUS_RAN) << o.err;
    }
}

TEST_F(Runner, AnyLineEndGivesTheSameLineNumbers) {
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        std::string program;
        for (const char* line : {"main() {", "print(1);", "", "y = 2;", "}"}) program += std::string(line) + eol;
        const Outcome o = run(program);
        EXPECT_EQ(o.out, "1 \n");
        EXPECT_EQ(o.err, "not a variable or function in line 3\n");
    }
}

TEST(ParseArguments, AcceptedAndRefusedCommandLines) {
    using Args = std::vector<std::string>;
    RunnerOptions o;
    std::string error;
    ASSERT_TRUE(parse_arguments({"--png", "a.png", "p.cg", "--jpeg", "b.jpg", "--palette", "c.pal", "--frames", "d"}, o,
                                error));
    EXPECT_EQ(o.program, "p.cg");
    EXPECT_EQ(o.png, "a.png");
    EXPECT_EQ(o.jpeg, "b.jpg");
    EXPECT_EQ(o.palette, "c.pal");
    EXPECT_EQ(o.frames, "d");
    for (const Args& args :
         {Args{}, Args{"a.cg", "b.cg"}, Args{"p.cg", "--png"}, Args{"p.cg", "--png", ""}, Args{"p.cg", "--bmp", "x"},
          Args{"--png", "x"}, Args{"p.cg", "--check", "e", "--seed", "1"},
          Args{"p.cg", "--check", "e", "--input", "a.txt"}}) {
        RunnerOptions refused;
        error.clear();
        EXPECT_FALSE(parse_arguments(args, refused, error)) << args.size();
        EXPECT_NE(error.find(kUsage), std::string::npos);
    }
}

// The man page is written by hand; every option the runner takes must head
// an item of its OPTIONS, with the value named as --help names it.
TEST(ParseArguments, ManPageNamesEveryOption) {
    std::ifstream in(KORVANE_SOURCE_DIR "/packaging/korvane-run.1");
    const std::string page(std::istreambuf_iterator<char>(in), {});
    ASSERT_FALSE(page.empty());
    const auto roff = [](const std::string& text) {  // "--max-steps" is "\\-\\-max\\-steps"
        std::string escaped;
        for (char c : text) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
        return escaped;
    };
    ASSERT_FALSE(runner_options().empty());
    for (const RunnerOption& option : runner_options()) {
        const std::string item =
            option.value ? ".BI " + roff(option.name) + " \" " + roff(option.value) + "\"" : ".B " + roff(option.name);
        EXPECT_NE(page.find(".TP\n" + item + "\n"), std::string::npos) << item;
    }
}

TEST_F(Runner, FilesThatCannotBeReadAreNamed) {
    options_.program = dir_.file("missing.cg");
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(run_program_file(options_, in, out, err), STATUS_FILE);
    EXPECT_EQ(err.str(), "Cannot open file " + dir_.file("missing.cg") + "\n");

    options_.palette = dir_.file("missing.pal");
    const Outcome o = run("main() {\nprint(1);\n}\n");
    EXPECT_EQ(o.status, STATUS_FILE);
    EXPECT_NE(o.err.find(dir_.file("missing.pal")), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "");
}

TEST_F(Runner, PaletteFileGivesThePngColours) {
    std::string bytes(1024, '\0');
    for (int i = 0; i < 256; ++i) bytes[4 * i] = static_cast<char>(255 - i);  // red falls
    std::ofstream(dir_.file("c.pal"), std::ios::binary) << bytes;
    options_.palette = dir_.file("c.pal");
    options_.png = dir_.file("out.png");
    ASSERT_EQ(run("main() {\nclear(1);\n}\n").status, STATUS_RAN);
    const auto png = read_png(options_.png);
    ASSERT_EQ(png.palette.size(), 256u);
    EXPECT_EQ(png.palette[0].red, 255);
    EXPECT_EQ(png.palette[200].red, 55);
    EXPECT_EQ(png.palette[200].green, 0);
}

TEST_F(Runner, PngHoldsThePaletteIndicesTopRowFirst) {
    options_.png = dir_.file("out.png");
    const Outcome o =
        run("main() {\nclear(2);\nsetcolor(301);\npoint(10, 10);\nsetcolor(9);\n"
            "fillrect(0, 390, 3, 399);\n}\n");
    ASSERT_EQ(o.status, STATUS_RAN) << o.err;
    const auto png = read_png(options_.png);
    ASSERT_EQ(png.rows.size(), 400u);
    EXPECT_EQ(png.rows[389][10], 45);  // y 10 is file row 389
    EXPECT_EQ(png.rows[0][0], 9);
    EXPECT_EQ(png.rows[9][3], 9);
    EXPECT_EQ(png.rows[10][3], 2);
    EXPECT_EQ(png.rows[399][0], 2);
}

TEST_F(Runner, PicturesAreWrittenHoweverTheRunEnded) {
    options_.png = dir_.file("out.png");
    options_.jpeg = dir_.file("out.jpg");
    const Outcome o = run("main() {\nclear(7);\npoint(1, 1) +;\n}\n");
    EXPECT_EQ(o.status, STATUS_ERROR);
    EXPECT_EQ(read_png(options_.png).rows.at(200).at(200), 7);
    const auto jpeg = read_jpeg(options_.jpeg);
    EXPECT_EQ(jpeg.width, 400u);
    EXPECT_EQ(jpeg.height, 400u);
}

TEST_F(Runner, PictureThatCannotBeWrittenIsAFileError) {
    options_.png = dir_.file("no/such/folder/out.png");
    const Outcome o = run("main() {\nprint(1);\n}\n");
    EXPECT_EQ(o.status, STATUS_FILE);
    EXPECT_EQ(o.out, "1 \n");
    EXPECT_EQ(o.err, "Cannot create file " + options_.png + "\n");
}

TEST_F(Runner, FramesAtEachShow) {
    options_.frames = dir_.file("frames");
    const Outcome o =
        run("main() {\nint i;\nclear(0);\nsetcolor(5);\nfor (i = 0; i < 3; i++) {\n"
            "point(i, 0);\nprint(show());\n}\n}\n");
    ASSERT_EQ(o.status, STATUS_RAN) << o.err;
    EXPECT_EQ(o.out, "0 \n0 \n0 \n");
    const auto files = std::filesystem::directory_iterator(options_.frames);
    EXPECT_EQ(std::distance(std::filesystem::begin(files), std::filesystem::end(files)), 3);
    for (int frame = 1; frame <= 3; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "frames/frame-%05d.png", frame);
        const auto png = read_png(dir_.file(name));
        ASSERT_EQ(png.rows.size(), 400u) << name;
        for (int x = 0; x < 4; ++x)  // frame n has the first n points
            EXPECT_EQ(png.rows[399][x], x < frame ? 5 : 0) << name;
    }
}

TEST_F(Runner, SleepWaitsAndNegativeCountsAsZero) {
    using Clock = std::chrono::steady_clock;
    auto elapsed_ms = [&](const char* body) {
        const auto start = Clock::now();
        EXPECT_EQ(run(std::string("main() {\n") + body + "\n}\n").status, STATUS_RAN);
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    };
    EXPECT_GE(elapsed_ms("sleep(60);"), 60);
    EXPECT_LT(elapsed_ms("sleep(-1);"), 1000);
    EXPECT_LT(elapsed_ms("sleep(-2147483647);"), 1000);
}

TEST_F(Runner, TextIsDrawnIntoTheCanvas) {
    options_.png = dir_.file("out.png");
    const Outcome o =
        run("main() {\nclear(0);\ntextstyle(301, 24, \"DejaVu Sans\");\n"
            "textout(10, 300, \"Hi\");\nprint(getpel(10, 300));\n}\n");
    ASSERT_EQ(o.status, STATUS_RAN) << o.err;
    EXPECT_EQ(o.err, "");
    const auto png = read_png(options_.png);
    int text = 0;
    for (int r = 100; r < 140; ++r)  // the cell hangs from y 299 = file row 100
        for (int x = 10; x < 60; ++x) text += png.rows[r][x] == 45;
    EXPECT_GT(text, 50);
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

using Checks = Runner;

TEST_F(Checks, GifHasAFramePerShowAndTheFinalCanvas) {
    options_.gif = dir_.file("a.gif");
    const Outcome o =
        run("main() {\nclear(3);\nshow();\nsleep(120);\nsetcolor(250);\npoint(0, 399);\nshow();\n"
            "point(1, 399);\n}\n");
    ASSERT_EQ(o.status, STATUS_RAN) << o.err;
    const DecodedGif gif = read_gif(options_.gif);
    ASSERT_EQ(gif.frames, 3);
    EXPECT_GE(gif.delays_cs[0], 12);  // the sleep between the shows
    EXPECT_EQ(gif.delays_cs[2], 2);   // the final canvas: the shortest delay
    ASSERT_EQ(gif.colours.size(), 256u);
    for (int i : {3, 250}) {
        EXPECT_EQ(gif.colours[size_t(i)].Red, default_palette()[4 * size_t(i)]) << i;
        EXPECT_EQ(gif.colours[size_t(i)].Blue, default_palette()[4 * size_t(i) + 2]) << i;
    }
    EXPECT_EQ(gif.pixels[0][0], 3);
    EXPECT_EQ(gif.pixels[1][0], 250);  // y 399 is the GIF's top row
    EXPECT_EQ(gif.pixels[1][1], 3);
    EXPECT_EQ(gif.pixels[2][1], 250);
}

TEST_F(Checks, GifWithoutChangesAfterTheLastShowEndsWithIt) {
    options_.gif = dir_.file("a.gif");
    ASSERT_EQ(run("main() {\nclear(3);\nshow();\nshow();\n}\n").status, STATUS_RAN);
    EXPECT_EQ(read_gif(options_.gif).frames, 2);
    options_.gif = dir_.file("b.gif");
    ASSERT_EQ(run("main() {\nclear(4);\n}\n").status, STATUS_RAN);  // no show: the final canvas alone
    EXPECT_EQ(read_gif(options_.gif).frames, 1);
}

// Overlapping figures, XOR over them and a flood fill around them: each
// pixel names the call that wrote it last.
TEST_F(Checks, ProvenanceNamesTheLastCallPerPixel) {
    options_.provenance = dir_.file("p.txt");
    const Outcome o =
        run("main() {\nclear(1);\nsetcolor(5);\nfillrect(10, 10, 30, 30);\ndisk(30, 30, 5, 7);\n"
            "setcolor(2);\nxline(0, 20, 100, 20);\nfloodfill(200, 200, 9, 1, 0, 0);\n}\n");
    ASSERT_EQ(o.status, STATUS_RAN) << o.err;
    std::ifstream in(options_.provenance);
    std::map<std::pair<int, int>, std::string> origin;
    int x, y, index, line;
    std::string builtin;
    size_t lines = 0;
    while (in >> x >> y >> index >> line >> builtin) {
        origin[{x, y}] = std::to_string(index) + " " + std::to_string(line) + " " + builtin;
        ++lines;
    }
    EXPECT_EQ(lines, 160000u);  // clear reached every pixel
    const struct {
        int x, y;
        const char* want;
    } cases[] = {
        {15, 15, "5 3 fillrect"},   {29, 29, "7 4 disk"},       {33, 33, "7 4 disk"},
        {15, 20, "7 6 xline"},      {50, 20, "3 6 xline"},      {200, 200, "9 7 floodfill"},
        {20, 100, "9 7 floodfill"}, {100, 20, "9 7 floodfill"},  // xline stops short of its end
    };
    for (const auto& c : cases) EXPECT_EQ(origin[std::make_pair(c.x, c.y)], c.want) << c.x << "," << c.y;
}

TEST_F(Checks, ProvenanceLeavesTheDrawingAsItIs) {
    const std::string program =
        "main() {\nclear(1);\nsetcolor(5);\nfillrect(10, 10, 300, 200);\nxcircle(100, 100, 80, 7);\n"
        "ellbdisk(200, 250, 90, 40, 3, 4);\ntrifill(0, 0, 399, 50, 120, 399, 8, 9);\n"
        "floodfill(5, 390, 11, 1, 0, 0);\ngrid(7, 5, 12);\ndline(0, 399, 399, 0);\n"
        "textout(20, 380, \"Hi\");\n}\n";
    options_.png = dir_.file("plain.png");
    ASSERT_EQ(run(program).status, STATUS_RAN);
    options_.png = dir_.file("tracked.png");
    options_.provenance = dir_.file("p.txt");
    ASSERT_EQ(run(program).status, STATUS_RAN);
    EXPECT_EQ(read_png(dir_.file("plain.png")).rows, read_png(dir_.file("tracked.png")).rows);
}

// --at-call shows the canvas the program cut after that call leaves;
// --history lists each write of the pixel, its last the provenance one.
TEST_F(Checks, AtCallAndHistoryFollowTheCallsInOrder) {
    const std::vector<std::string> calls = {"clear(1);", "setcolor(5);\nfillrect(10, 10, 30, 30);",
                                            "disk(30, 30, 5, 7);", "setcolor(2);\nxline(0, 20, 100, 20);",
                                            "floodfill(200, 200, 9, 1, 0, 0);"};
    auto program = [&](size_t k) {
        std::string text = "main() {\n";
        for (size_t i = 0; i < k; ++i) text += calls[i] + "\n";
        return text + "}\n";
    };
    for (const uint64_t k : {0u, 2u, 4u, 5u, 9u}) {
        options_ = {};
        options_.png = dir_.file("cut.png");
        ASSERT_EQ(run(program(std::min<size_t>(k, calls.size()))).status, STATUS_RAN);
        options_.png = dir_.file("at.png");
        options_.at_call = k;
        ASSERT_EQ(run(program(calls.size())).status, STATUS_RAN);
        EXPECT_EQ(read_png(dir_.file("cut.png")).rows, read_png(dir_.file("at.png")).rows) << k;
    }
    options_ = {};
    options_.history = RunnerOptions::Pixel{15, 20};
    const Outcome o = run(program(calls.size()));
    EXPECT_EQ(o.out, "1 1 clear 1\n2 3 fillrect 5\n4 6 xline 7\n");
    options_.history = RunnerOptions::Pixel{399, 0};
    EXPECT_EQ(run(program(calls.size())).out, "1 1 clear 1\n5 7 floodfill 9\n");
}

TEST_F(Checks, ExpectCatchesAOnePixelChange) {
    // On a red and on a white canvas: the unchanged pixels are dimmed, so
    // none of them can take the mark's place.
    for (const std::string background : {"2", "1"}) {
        const std::string head = "main() {\nclear(" + background + ");\nsetcolor(6);\n";
        options_ = {};
        options_.png = dir_.file("gold.png");
        ASSERT_EQ(run(head + "point(10, 20);\n}\n").status, STATUS_RAN);
        options_.png.clear();
        options_.expect = dir_.file("gold.png");
        options_.diff = dir_.file("diff.png");
        const Outcome same = run(head + "point(10, 20);\n}\n");
        EXPECT_EQ(same.status, STATUS_RAN);
        EXPECT_EQ(same.err, "");
        const Outcome moved = run(head + "point(11, 20);\n}\n");
        EXPECT_EQ(moved.status, STATUS_DIFFERS);
        EXPECT_EQ(moved.err, "2 pixels differ from " + options_.expect + ", within x 10..11, y 20..20\n");
        const auto diff = read_png(options_.diff);
        int marks = 0;
        for (const auto& row : diff.rows) marks += int(std::count(row.begin(), row.end(), 255));
        EXPECT_EQ(marks, 2) << "background " << background;
        EXPECT_EQ(diff.rows[379][10], 255);  // y 20 is file row 379
        EXPECT_EQ(diff.rows[379][11], 255);
        EXPECT_LT(diff.rows[379][12], 128);
        EXPECT_EQ(diff.palette[255].red, 255);
        EXPECT_EQ(diff.palette[255].green, 0);
        // Red (brightness 76) and white (255) at half brightness.
        EXPECT_EQ(diff.palette[diff.rows[0][0]].red, background == "1" ? 127 : 38);
        // The box takes each of its bounds from a different pixel.
        const Outcome scattered = run(head + "point(40, 7);\npoint(5, 30);\n}\n");
        EXPECT_EQ(scattered.err, "3 pixels differ from " + options_.expect + ", within x 5..40, y 7..30\n");
        const Outcome one = run(head + "point(10, 20);\npoint(12, 20);\n}\n");
        EXPECT_EQ(one.status, STATUS_DIFFERS);
        EXPECT_EQ(one.err, "1 pixels differ from " + options_.expect + ", within x 12..12, y 20..20\n");
        // A run that fails is a failure even when its picture matches.
        const Outcome failed = run(head + "point(10, 20);\nx = ;\n}\n");
        EXPECT_EQ(failed.status, STATUS_ERROR);
        EXPECT_EQ(failed.err, "not a variable or function in line 4\n");
    }
}

// --check on the course's midpoint circle: the model passes the visible
// checks, a slip in the decision variable is told where it first drew
// wrong, and a forbidden built-in stops everything before a run.
TEST_F(Checks, CheckRunsTheVisibleChecksOfAnExercise) {
    const std::string exercise = KORVANE_SOURCE_DIR "/course/04-midpoint-circle";
    std::ifstream in(exercise + "/model.cg", std::ios::binary);
    const std::string model(std::istreambuf_iterator<char>(in), {});
    const auto check = [&](const std::string& from, const std::string& to) {
        std::string text = model;
        if (!from.empty()) text.replace(text.find(from), from.size(), to);
        std::ofstream(dir_.file("circle.cg"), std::ios::binary) << text;
        std::istringstream input;
        std::ostringstream out, err;
        const int status = runner_main({dir_.file("circle.cg"), "--check", exercise}, input, out, err);
        return Outcome{status, out.str(), err.str()};
    };
    const Outcome pass = check("", "");
    EXPECT_EQ(pass.status, STATUS_RAN) << pass.err;
    EXPECT_EQ(pass.out, "check 1 of 3 \"small circle\": pass\ncheck 2 of 3 \"large circle\": pass\n");
    const Outcome slip = check("d += 2 * x + 3;", "d += 2 * x + 2;");
    EXPECT_EQ(slip.status, STATUS_DIFFERS) << slip.err;
    EXPECT_EQ(slip.out,
              "check 1 of 3 \"small circle\": differs, 28 pixels off\n"
              "first difference: call 82, line 7: `point(210, 218)` drew where the accepted picture has background\n"
              "missing: 12 pixels of the accepted picture that no call drew, within x 183..217, y 183..217\n"
              "check 2 of 3 \"large circle\": differs, 176 pixels off\n"
              "first difference: call 354, line 7: `point(244, 344)` drew where the accepted picture has background\n"
              "missing: 88 pixels of the accepted picture that no call drew, within x 57..343, y 57..343\n");
    const Outcome forbidden = check("point(cx - y, cy - x);", "circle(cx, cy, 3, 6);");
    EXPECT_EQ(forbidden.status, STATUS_ERROR);
    EXPECT_EQ(forbidden.out, "");
    EXPECT_EQ(forbidden.err, "forbidden built-in circle in line 14\n");
    const Outcome greedy = check("n = getnum();", "n = getnum() + 1;");
    EXPECT_EQ(greedy.status, STATUS_ERROR);
    EXPECT_EQ(greedy.out,
              "check 1 of 3 \"small circle\": asked for input 5 times; this check gives 4 answers\n"
              "check 2 of 3 \"large circle\": asked for input 5 times; this check gives 4 answers\n");
    const Outcome error = check("x++;", "x++");
    EXPECT_EQ(error.status, STATUS_ERROR);
    EXPECT_EQ(error.out,
              "check 1 of 3 \"small circle\": semicolon expected in line 32\n"
              "check 2 of 3 \"large circle\": semicolon expected in line 32\n");
}

TEST_F(Checks, ExpectRefusesPicturesItCannotCompare) {
    Picture small;
    small.width = 40;
    small.height = 40;
    small.pixels.assign(1600, 0);
    std::string error;
    ASSERT_TRUE(write_png(dir_.file("small.png"), small, error));
    std::ofstream(dir_.file("junk.png")) << "not a picture";
    const struct {
        const char* file;
        const char* message;
    } cases[] = {
        {"small.png", "small.png is 40 x 40, not 400 x 400 like the canvas\n"},
        {"junk.png", "junk.png: PNG error: "},
        {"none.png", "Cannot open file "},
    };
    for (const auto& c : cases) {
        options_.expect = dir_.file(c.file);
        const Outcome o = run("main() {\nprint(1);\n}\n");
        EXPECT_EQ(o.status, STATUS_FILE) << c.file;
        EXPECT_EQ(o.out, "") << "the program must not run: " << c.file;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    }
}

TEST_F(Checks, SeedReproducesTheRandomSequence) {
    const char* program = "main() {\nprint(rand(1000));\nprint(rand(1000));\n}\n";
    options_.seed = 12345;
    const Outcome a = run(program), b = run(program);
    options_.seed = 54321;
    const Outcome c = run(program);
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, c.out);
}

TEST_F(Checks, InputFileAnswersInsteadOfTheStream) {
    std::ofstream(dir_.file("answers.txt")) << "41\nz\n";
    options_.input = dir_.file("answers.txt");
    const Outcome o = run("main() {\nprint(getnum() + 1);\nprint(getche());\n}\n", "7\n");
    EXPECT_EQ(o.out, "42 \n122 \n");
    options_.input = dir_.file("none.txt");
    EXPECT_EQ(run("main() {\n}\n").status, STATUS_FILE);
}

TEST_F(Checks, BoundsEndAnEndlessLoop) {
    const char* loop = "main() {\nint x;\nwhile (1) {\nx = x + 1;\n}\n}\n";
    options_.max_steps = 100000;
    options_.stats = dir_.file("stats.txt");
    const Outcome steps = run(loop);
    EXPECT_EQ(steps.status, STATUS_ERROR);
    EXPECT_EQ(steps.err, "step limit reached in line 3\n");
    std::stringstream stats;
    stats << std::ifstream(options_.stats).rdbuf();
    EXPECT_EQ(stats.str(), "steps 100000\n");  // the refused step is not one it ran
    options_.stats.clear();
    options_.max_steps = 0;
    options_.timeout = 0.2;
    const auto start = std::chrono::steady_clock::now();
    const Outcome time = run(loop);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(time.status, STATUS_ERROR);
    EXPECT_EQ(time.err.substr(0, 18), "time limit reached");
    const Outcome sleeper = run("main() {\nwhile (1) {\nsleep(100000);\n}\n}\n");
    EXPECT_EQ(sleeper.status, STATUS_ERROR);
    EXPECT_EQ(sleeper.err.substr(0, 18), "time limit reached");
}

TEST_F(Checks, PausesAreLoggedAndChangeNothingElse) {
    // Pixel 5,5 is written with 3, with 3 again (no change), with 4, then with 4 again.
    const std::string program =
        "int n;\nmain() {\n  int i;\n  setcolor(3);\n  point(5, 5);\n  point(5, 5);\n  point(6, 6);\n"
        "  for (i = 4; i < 6; i++) {\n    setcolor(4);\n    point(5, 5); print(i);\n  }\n  n = f(2);\n}\n"
        "f(int k) {\n  return k * 2;\n}\n";
    options_.png = dir_.file("plain.png");
    const Outcome plain = run(program);
    options_.png = dir_.file("paused.png");
    options_.pauses = dir_.file("p.json");
    options_.watches = {{5, 5}};
    options_.breaks = {14};
    const Outcome paused = run(program);
    ASSERT_EQ(paused.status, STATUS_RAN) << paused.err;
    EXPECT_EQ(paused.out, plain.out);
    EXPECT_EQ(read_png(dir_.file("plain.png")).rows, read_png(dir_.file("paused.png")).rows);
    std::ifstream in(options_.pauses);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const std::string main_with = R"({"function": "main", "called_from": -1, "locals": {"i": )";
    const std::vector<std::string> expected{
        R"({"line": 4, "reason": "pixel", "depth": 1, "globals": {"n": 0}, "calls": [)" + main_with + "0}}]}",
        R"({"line": 9, "reason": "pixel", "depth": 1, "globals": {"n": 0}, "calls": [)" + main_with + "4}}]}",
        R"({"line": 14, "reason": "breakpoint", "depth": 2, "globals": {"n": 0}, "calls": [{"function": "f", )"
        R"("called_from": 11, "locals": {"k": 2}}, )" +
            main_with + "6}}]}",
    };
    EXPECT_EQ(lines, expected);
}

TEST(ParseArguments, NumbersAndPairs) {
    RunnerOptions o;
    std::string error;
    ASSERT_TRUE(parse_arguments({"p.cg", "--seed", "4294967295", "--max-steps", "10", "--timeout", "1.5", "--expect",
                                 "g.png", "--diff", "d.png", "--gif", "a.gif", "--input", "i", "--provenance", "p.txt"},
                                o, error));
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_EQ(o.max_steps, 10u);
    EXPECT_EQ(o.timeout, 1.5);
    EXPECT_EQ(o.diff, "d.png");
    RunnerOptions timeline;
    ASSERT_TRUE(parse_arguments({"p.cg", "--at-call", "0", "--jpeg", "a.jpg", "--history", "0,399"}, timeline, error));
    EXPECT_EQ(timeline.at_call, 0u);
    EXPECT_EQ(timeline.history->y, 399);
    RunnerOptions p;
    ASSERT_TRUE(
        parse_arguments({"p.cg", "--break", "3", "--watch", "0,399", "--pauses", "p.json", "--break", "0"}, p, error));
    EXPECT_EQ(p.breaks, (std::vector<int>{3, 0}));
    EXPECT_EQ(p.watches, (std::vector<std::pair<int32_t, int32_t>>{{0, 399}}));
    using Args = std::vector<std::string>;
    for (const Args& args :
         {Args{"p.cg", "--seed", "-1"}, Args{"p.cg", "--seed", "4294967296"}, Args{"p.cg", "--max-steps", "0"},
          Args{"p.cg", "--timeout", "0"}, Args{"p.cg", "--timeout", "soon"}, Args{"p.cg", "--diff", "d.png"},
          Args{"p.cg", "--at-call", "3"}, Args{"p.cg", "--at-call", "-1"}, Args{"p.cg", "--history", "3"},
          Args{"p.cg", "--history", "3,400"}, Args{"p.cg", "--break", "3"},
          Args{"p.cg", "--pauses", "p.json", "--break", "-1"}, Args{"p.cg", "--pauses", "p.json", "--watch", "7"},
          Args{"p.cg", "--pauses", "p.json", "--watch", "1,400"}}) {
        RunnerOptions refused;
        error.clear();
        EXPECT_FALSE(parse_arguments(args, refused, error)) << args[1] << " " << args[2];
        EXPECT_NE(error.find(kUsage), std::string::npos);
    }
}

}  // namespace
}  // namespace korvane
