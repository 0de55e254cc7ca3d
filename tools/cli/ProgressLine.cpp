#include "tools/cli/ProgressLine.hpp"

#include <iomanip>
#include <iostream>
#include <unistd.h>

namespace G {

ProgressLine::ProgressLine() : shown(isatty(STDERR_FILENO) != 0) {}

ProgressLine::~ProgressLine() {
    if (shown) {
        std::cerr << '\n';
    }
}

void ProgressLine::show(const std::string& what, const std::uint64_t done, const char* unit) const {
    if (shown) {
        std::cerr << '\r' << what << ", " << std::fixed << std::setprecision(1) << static_cast<double>(done) / seconds()
                  << ' ' << unit << "/s " << std::flush;
    }
}

double ProgressLine::seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace G
