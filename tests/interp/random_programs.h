// Random program texts, shared by the interpreter's robustness test and the
// tool that writes them out for the browser tests.
#pragma once

#include <random>
#include <string>

namespace korvane::testing {

// Program number i of a sequence drawn from rng: every fourth is random
// bytes, the others mutations of a few valid programs.
std::string random_program(std::mt19937& rng, int i);

}  // namespace korvane::testing
