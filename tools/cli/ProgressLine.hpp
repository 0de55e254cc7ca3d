#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace G {

// A line on standard error that shows how far a long run has come and how fast it goes, written over itself
// as it changes; only on a terminal, so that a log or a pipe gets none of it. It ends with its own newline.
class ProgressLine {
public:
    ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ProgressLine(ProgressLine&&) = delete;
    ProgressLine& operator=(ProgressLine&&) = delete;
    ~ProgressLine();

    // "WHAT, RATE UNIT/s": what is done, and the rate of `done` since the line began.
    void show(const std::string& what, std::uint64_t done, const char* unit) const;
    // Seconds since the line began.
    double seconds() const;

private:
    const bool shown;
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

} // namespace G
