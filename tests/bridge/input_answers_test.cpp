// SPDX-License-Identifier: GPL-3.0-or-later
#include "input_answers.h"

#include <gtest/gtest.h>

#include "bridge.h"

namespace korvane {
namespace {

TEST(GetnumAnswer, AcceptedAnswers) {
    const struct {
        const char* answer;
        int32_t value;
    } cases[] = {
        {"", 0},
        {"12", 12},
        {"  12  ", 12},
        {"\t-7", -7},
        {"+7", 7},
        {"007", 7},
        {"-0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(getnum_answer(c.answer), c.value) << "'" << c.answer << "'";
}

TEST(GetnumAnswer, RejectedAnswersNameThemselves) {
    for (const char* answer :
         {"abc", "12x", "1 2", "+", "-", "+-1", "--1", "2147483648", "-2147483649", "   ", "0x10", "1.5", "1e3"}) {
        try {
            getnum_answer(answer);
            ADD_FAILURE() << "accepted '" << answer << "'";
        } catch (const InputRejected& e) {
            EXPECT_EQ(e.what(), "'" + std::string(answer) + "' is not a valid integer value");
        }
    }
}

// Answers are UTF-8: the first character's Latin-1 value, '?' beyond it, as
// the window's input box gives; a lone Latin-1 byte stands for itself.
TEST(GetcheAnswer, FirstCharacterAsSignedByte) {
    const struct {
        const char* answer;
        int8_t value;
    } cases[] = {
        {"", 0},
        {"xyz", 'x'},
        {" a", ' '},
        {"\xe9t\xe9", -23},
        {"\x7f", 127},
        {"\xc3\xa9t\xc3\xa9", -23},
        {"\xc2\xa0", -96},
        {"\xc3\xbf", -1},
        {"\xc5\x93", '?'},
        {"\xe2\x82\xac", '?'},
        {"\xf0\x9f\x98\x80", '?'},
        {"\xf4\x8f\xbf\xbf", '?'},
    };
    for (const auto& c : cases) EXPECT_EQ(getche_answer(c.answer), c.value) << "'" << c.answer << "'";
}

}  // namespace
}  // namespace korvane
