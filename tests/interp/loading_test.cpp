// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a program: files, the pre-pass, global declarations and main.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "run_helpers.h"

namespace korvane::testing {
namespace {

std::string write_temp(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

TEST(Loading, GlobalDeclarationsTakeOnlyPlainInitialisers) {
    ProgramRun r;
    r.run("int a = 5, b, c = 7;\nchar d = 'x';\nmain() { }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("a"), 5);
    EXPECT_EQ(r.global("b"), 0);
    EXPECT_EQ(r.global("c"), 7);
    EXPECT_EQ(r.global("d"), 120);
    for (const char* bad : {"int a = -5;", "char c = 65;", "int f() { }", "int a = 1 + 2;"}) {
        expect_error(std::string(bad) + "\nmain() { }\n", "semicolon expected", 0);
    }
}

TEST(Loading, DefinitionsMayComeInAnyOrderAndTheFirstWins) {
    ProgramRun r;
    r.run("main() { x = f(); }\nf() { return 1; }\nf() { return 2; }\nint x;\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("x"), 1);
    ProgramRun upper;
    EXPECT_EQ(upper.run("Main() { }"), RUN_OK);
}

TEST(Loading, MissingMainAndPrePassErrors) {
    ProgramRun none;
    EXPECT_EQ(none.run("f() { }\n"), RUN_NO_MAIN);
    EXPECT_TRUE(none.bridge.messages.empty());
    ProgramRun empty;
    EXPECT_EQ(empty.run(""), RUN_NO_MAIN);
    expect_error("main() {\nif (1) {\n}\n", "unbalanced braces", 3);
    // The pre-pass errors come before the search for main.
    ProgramRun global;
    EXPECT_EQ(global.run("int 5 = ;\n"), RUN_ERROR);
}

TEST(Loading, StringsInBodiesNeitherOpenNorCloseBlocks) {
    ProgramRun r;
    r.run("int x;\nmain() { x = 'x'; puts(\"}\"); x = x + '#'; }\nf() { }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.global("x"), 'x' + '#');
    ASSERT_EQ(r.bridge.output.size(), 1u);
    EXPECT_EQ(r.bridge.output[0], "}");
}

TEST(Loading, TablesAreCappedWithAnError) {
    std::string globals, functions;
    for (int i = 0; i < 101; ++i) globals += "int g" + std::to_string(i) + ";\n";
    for (int i = 0; i < 101; ++i) functions += "f" + std::to_string(i) + "() { }\n";
    ProgramRun g;
    g.run(globals + "main() { }");
    EXPECT_EQ(g.message(), "too many global variables in line 100\n");
    ProgramRun f;
    f.run(functions + "main() { }");
    EXPECT_EQ(f.message(), "too many functions in line 100\n");
}

TEST(Loading, ProgramFilesAreReadWhole) {
    // Longer than any fixed buffer: the assignment at the end must run.
    std::string text = "int x;\r\nmain() {\r\n";
    while (text.size() < 30000) text += "/* padding padding padding */\r\n";
    text += "x = 77;\r\n}\r\n\x1a";
    const std::string path = write_temp("korvane_long.cg", text);
    RecordingBridge bridge;
    Interpreter interp(bridge);
    EXPECT_EQ(interp.run_program(path), RUN_OK);
    int32_t x = 0;
    ASSERT_TRUE(interp.global_value("x", x));
    EXPECT_EQ(x, 77);
    std::remove(path.c_str());
}

TEST(Loading, UnreadableAndNulFilesAreRefusedWithAMessage) {
    RecordingBridge bridge;
    Interpreter interp(bridge);
    EXPECT_EQ(interp.run_program("/nonexistent/dir/prog.cg"), RUN_CANNOT_READ);
    ASSERT_EQ(bridge.messages.size(), 1u);
    EXPECT_EQ(bridge.messages[0], "Cannot open file /nonexistent/dir/prog.cg");
    const std::string path = write_temp("korvane_nul.cg", std::string("main() { }\0 x", 13));
    EXPECT_EQ(interp.run_program(path), RUN_CANNOT_READ);
    EXPECT_EQ(bridge.messages.back(), "The program contains a NUL byte at offset 10");
    std::remove(path.c_str());
}

TEST(Loading, EveryLineEndBecomesCrLf) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"a", "a"},
        {"a\nb", "a\r\nb"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        {"\n\r\n\r", "\r\n\r\n\r\n"},
        {"\r\r\n\n", "\r\n\r\n\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(normalise_line_ends(c.in), c.out);
}

TEST(Loading, AnEndOfFileMarkerIsIgnored) {
    ProgramRun r;
    EXPECT_EQ(r.interp.run_text("main() { }\x1a"), RUN_OK);
}

TEST(Loading, EachRunStartsFromFreshTables) {
    ProgramRun r;
    r.run("int old;\nmain() { old = 3; }\n");
    r.run("main() { old = 4; }\n");
    EXPECT_EQ(r.result, RUN_ERROR);
    EXPECT_EQ(r.bridge.messages, std::vector<std::string>{"not a variable or function in line 0\n"});
}

}  // namespace
}  // namespace korvane::testing
