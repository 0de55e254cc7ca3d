#include "tools/tournament/LibraryRand.hpp"

#include <cstdlib>

namespace G::libraryRand {

std::int64_t here() {
    std::srand(1);
    return std::rand();
}

std::string described(const std::int64_t generator) {
    return generator == glibc ? "glibc's rand"
                              : "a rand whose first value after srand(1) is " + std::to_string(generator);
}

} // namespace G::libraryRand
