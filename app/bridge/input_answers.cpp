#include "input_answers.h"

#include <charconv>

#include "bridge.h"

namespace korvane {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

[[noreturn]] void reject(const std::string& answer) {
    throw InputRejected("'" + answer + "' is not a valid integer value");
}

}  // namespace

int32_t getnum_answer(const std::string& answer) {
    if (answer.empty()) return 0;
    const char* first = answer.data();
    const char* last = first + answer.size();
    while (first < last && is_blank(*first)) ++first;
    while (last > first && is_blank(last[-1])) --last;
    // from_chars takes no '+', but a leading plus sign is a valid answer.
    if (first < last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    int32_t value = 0;
    auto [end, status] = std::from_chars(first, last, value);
    if (first == last || status != std::errc{} || end != last) reject(answer);
    return value;
}

int8_t getche_answer(const std::string& answer) {
    return answer.empty() ? 0 : static_cast<int8_t>(answer[0]);
}

}  // namespace korvane
