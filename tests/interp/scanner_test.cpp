// SPDX-License-Identifier: GPL-3.0-or-later
// The scanner: token kinds, texts and positions for the language's edge cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_bridge.h"
#include "state.h"

namespace korvane {
namespace {

// Describes each token until the end of the text: "N:x" name, "D:(" delimiter,
// "O5" operator, "K3" keyword, "S:ab" string, "#:12" number, "B:{" brace, "E" empty.
std::vector<std::string> scan(const std::string& text) {
    testing::RecordingBridge bridge;
    InterpreterState s(bridge);
    s.load_text(text);
    std::vector<std::string> out;
    for (int guard = 0; guard < 100; ++guard) {
        s.read_token();
        if (s.tok->at_eof()) return out;
        const Token& t = *s.tok;
        if (t.op != OP_NONE)
            out.push_back("O" + std::to_string(t.op));
        else if (t.len == 0)
            out.push_back("E");
        else if (t.kind == TK_KEYWORD)
            out.push_back("K" + std::to_string(t.keyword));
        else {
            const char* kinds = "DN#KWSB";
            out.push_back(std::string(1, kinds[t.kind]) + ":" + t.text);
        }
    }
    ADD_FAILURE() << "scanner does not reach the end of " << text;
    return out;
}

using Tokens = std::vector<std::string>;

TEST(Scanner, SplitsTextIntoTheLanguagesTokens) {
    const struct {
        std::string text;
        Tokens tokens;
    } cases[] = {
        {"a<=b", {"N:a", "O2", "N:b"}},
        {"a<b", {"N:a", "O1", "N:b"}},
        {"a>=b>c", {"N:a", "O4", "N:b", "O3", "N:c"}},
        {"x+++y", {"N:x", "O7", "D:+", "N:y"}},
        {"a--b-=c+=d", {"N:a", "O8", "N:b", "O10", "N:c", "O9", "N:d"}},
        {"a==b!=c&&d||e", {"N:a", "O5", "N:b", "O6", "N:c", "O11", "N:d", "O12", "N:e"}},
        {"a=b&c|d", {"N:a", "D:=", "N:b", "D:&", "N:c", "D:|", "N:d"}},
        {"While WHILE while", {"K7", "K7", "K7"}},
        {"Count", {"N:count"}},
        {"ZERO Zz", {"N:zero", "N:zz"}},
        {"a\tb", {"N:a", "N:b"}},
        {"else{", {"N:else{"}},
        {"else {", {"K4", "B:{"}},
        {"do{", {"N:do{"}},
        {"0x1F 12ab 1.5", {"#:0x1F", "#:12ab", "#:1.5"}},
        {"\"a b\"", {"S:a b"}},
        {"\"}\"", {"S:}"}},
        {"x_1", {"N:x_1"}},
        {"int char if for do return end break continue", {"K2", "K1", "K3", "K5", "K6", "K9", "K12", "K13", "K14"}},
        {"f(a,b);", {"N:f", "D:(", "N:a", "D:,", "N:b", "D:)", "D:;"}},
        {"'x'", {"D:'", "N:x", "D:'"}},
        {"a^b", {"N:a", "D:^", "N:b"}},
        {"{}", {"B:{", "B:}"}},
    };
    for (const auto& c : cases) EXPECT_EQ(scan(c.text), c.tokens) << c.text;
}

TEST(Scanner, LineEndsAndCommentsAreNeverTokens) {
    const struct {
        std::string text;
        Tokens tokens;
    } cases[] = {
        {"a\r\nb", {"N:a", "N:b"}},
        {"a\r\n\r\n  \r\nb", {"N:a", "N:b"}},
        {"/* c */ x", {"N:x"}},
        {"/* a */\r\n/* b */ x", {"N:x"}},
        {"a /* never closed", {"N:a"}},
        {"/**/{", {"B:{"}},
        {"a // b c\r\nd", {"N:a", "N:d"}},
        {"a//b", {"N:a"}},
        {"// /* opens nothing\r\nx", {"N:x"}},
        {"/* // */ x", {"N:x"}},
        {"\"//\" \"/*\"", {"S://", "S:/*"}},
        {"a / b", {"N:a", "D:/", "N:b"}},
    };
    for (const auto& c : cases) EXPECT_EQ(scan(c.text), c.tokens) << c.text;
}

TEST(Scanner, StepsOverCharactersThatBeginNoToken) {
    const struct {
        std::string text;
        Tokens tokens;
    } cases[] = {
        {"a! b", {"N:a", "D:!", "N:b"}},
        {"_x", {"D:_", "N:x"}},
        {"#[.", {"D:#", "D:[", "D:."}},
        {"a\nb", {"N:a", "N:b"}},  // a lone LF is a line end, as CR LF is
        {"\rb", {"N:b"}},
        {"\x85z", {"D:\xc2\x85", "N:z"}},  // read as Latin-1: one character
        // A UTF-8 character is one token however many bytes it takes; inside
        // a word it continues the word, as a Latin-1 letter does.
        {"\xe2\x82\xac=1", {"D:\xe2\x82\xac", "D:=", "#:1"}},
        {"caf\xc3\xa9 x", {"N:caf\xc3\xa9", "N:x"}},
        {"caf\xe9 x", {"N:caf\xc3\xa9", "N:x"}},
        // A control byte equal to an operator code is still no operator.
        {"\x05", {"D:\x05"}},
    };
    for (const auto& c : cases) EXPECT_EQ(scan(c.text), c.tokens) << c.text;
}

TEST(Scanner, PutBackReturnsToTheTokenStart) {
    testing::RecordingBridge bridge;
    InterpreterState s(bridge);
    s.load_text("  <= < \"str\" x");
    for (uint32_t expected_back : {2u, 5u, 7u, 13u}) {
        s.read_token();
        const uint32_t after = s.scan_pos;
        s.unread_token();
        EXPECT_EQ(s.scan_pos, expected_back) << "token " << s.tok->text;
        s.scan_pos = after;
    }
}

TEST(Scanner, EndOfTextRepeats) {
    testing::RecordingBridge bridge;
    InterpreterState s(bridge);
    s.load_text("x");
    s.read_token();
    for (int i = 0; i < 3; ++i) {
        s.read_token();
        EXPECT_TRUE(s.tok->at_eof());
        EXPECT_EQ(s.tok->len, 0);
    }
}

}  // namespace
}  // namespace korvane
