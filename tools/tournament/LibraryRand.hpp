#pragma once

#include <cstdint>
#include <string>

// The C library's rand(), which places every game's pieces: a seed is the same game only under the same
// sequence of numbers. C libraries differ here (glibc, musl, the BSDs and macOS each have their own), and a
// generator is known by the first value its rand() gives after srand(1), which no two of them share. glibc's
// is the one every figure, CSV file and test of the project was made with.
namespace G::libraryRand {

// The first value of glibc's rand() after srand(1).
constexpr std::int64_t glibc = 1804289383;

// This C library's generator. Leaves rand() seeded with 1, which is harmless: every game seeds it first.
std::int64_t here();

// "glibc's rand", or "a rand whose first value after srand(1) is 16807", as messages name a generator.
std::string described(std::int64_t generator);

} // namespace G::libraryRand
