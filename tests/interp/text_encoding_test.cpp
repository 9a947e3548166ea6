// SPDX-License-Identifier: GPL-3.0-or-later
// Program files in Latin-1 and UTF-8: what is read, what is written back,
// and what a program holding characters beyond ASCII prints and draws.
#include <gtest/gtest.h>

#include "run_helpers.h"
#include "text_encoding.h"

namespace korvane::testing {
namespace {

TEST(TextEncoding, FilesAreReadAndWrittenBackWithEveryCharacter) {
    const struct {
        const char* name;
        std::string file;    // the bytes on disk
        std::string text;    // what is read, as UTF-8
        std::string stored;  // what the text is written back as
    } cases[] = {
        {"ASCII", "main() {}\r\n", "main() {}\r\n", "main() {}\r\n"},
        {"Latin-1, byte for byte", "// f\xfcr \xe9\xff\r\n", "// f\xc3\xbcr \xc3\xa9\xc3\xbf\r\n",
         "// f\xfcr \xe9\xff\r\n"},
        {"UTF-8",
         "// Kreis f\xc3\xbcr Ana: \xc3\xb1 \xe2\x82\xac \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 "
         "\xf0\x9f\x98\x80",
         "// Kreis f\xc3\xbcr Ana: \xc3\xb1 \xe2\x82\xac \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 "
         "\xf0\x9f\x98\x80",
         "// Kreis f\xc3\xbcr Ana: \xc3\xb1 \xe2\x82\xac \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 "
         "\xf0\x9f\x98\x80"},
        {"UTF-8 of Latin-1 letters only", "\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9", "\xe9t\xe9"},
        {"invalid UTF-8 is Latin-1", "\xc3(\xe9", "\xc3\x83(\xc3\xa9", "\xc3(\xe9"},
        {"a cut sequence is Latin-1", "\xc3\xa9\xe2\x82", "\xc3\x83\xc2\xa9\xc3\xa2\xc2\x82", "\xc3\xa9\xe2\x82"},
        {"an overlong form is Latin-1", "\xc0\xaf", "\xc3\x80\xc2\xaf", "\xc0\xaf"},
        {"a surrogate is Latin-1", "\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80", "\xed\xa0\x80"},
        {"beyond U+10FFFF is Latin-1", "\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xc2\x80\xc2\x80", "\xf4\x90\x80\x80"},
        {"the byte order mark is dropped", "\xef\xbb\xbf\xe2\x82\xac", "\xe2\x82\xac", "\xe2\x82\xac"},
        // Latin-1 "Ã©" would read back as "é": it is kept as UTF-8.
        {"Latin-1 that reads as UTF-8", "\xc3\x83\xc2\xa9", "\xc3\x83\xc2\xa9", "\xc3\x83\xc2\xa9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(program_text_from_bytes(c.file), c.text) << c.name;
        EXPECT_EQ(program_bytes_from_text(c.text), c.stored) << c.name;
        EXPECT_EQ(program_text_from_bytes(c.stored), c.text) << c.name;
    }
}

// The same program stored either way prints, draws and counts the same.
TEST(TextEncoding, StringsKeepEveryCharacterAndCharactersGiveTheirLatin1Codes) {
    const std::string body =
        "puts(\"\xc3\xa9 \xe2\x82\xac x\"); textout(1, 2, \"\xd0\x9f\xf0\x9f\x98\x80\"); "
        "a = '\xc3\xa9'; b = '\xe2\x82\xac'; c = 'z'; putch(233); putch(8364);";
    ProgramRun r;
    r.run("int a, b, c;\nmain() { " + body + " }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.bridge.output, (std::vector<std::string>{"\xc3\xa9 \xe2\x82\xac x", "\xc3\xa9", "\xc2\xac"}));
    EXPECT_EQ(r.bridge.calls, (std::vector<std::string>{"textout(1,2,\"\xd0\x9f\xf0\x9f\x98\x80\")"}));
    EXPECT_EQ(r.global("a"), -23);
    EXPECT_EQ(r.global("b"), 63);
    EXPECT_EQ(r.global("c"), 122);

    ProgramRun latin1;
    latin1.run("int a;\nmain() { print(\"\xe9t\xe9\"); a = '\xe9'; }\n");
    ASSERT_EQ(latin1.result, RUN_OK) << latin1.message();
    EXPECT_EQ(latin1.bridge.output, (std::vector<std::string>{"\xc3\xa9t\xc3\xa9"}));
    EXPECT_EQ(latin1.global("a"), -23);
}

// A string holds at most 79 characters, however many bytes each takes.
TEST(TextEncoding, TheLengthOfAStringCountsCharacters) {
    std::string longest;
    for (int i = 0; i < 79; ++i) longest += "\xf0\x9f\x98\x80";
    ProgramRun r;
    r.run("main() { puts(\"" + longest + "\"); }\n");
    ASSERT_EQ(r.result, RUN_OK) << r.message();
    EXPECT_EQ(r.bridge.output, (std::vector<std::string>{longest}));
    expect_error("main() { puts(\"" + longest + "\xc3\xa9\"); }\n", "syntax error", 0);
}

}  // namespace
}  // namespace korvane::testing
