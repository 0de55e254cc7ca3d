#pragma once

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace test {

// A path in the temporary folder that no other test program running at the same time uses: the name carries
// this process's id.
inline std::string tempPath(const std::string& name) {
#ifdef _WIN32
    const int id = _getpid();
#else
    const int id = static_cast<int>(getpid());
#endif
    return testing::TempDir() + "quorvel-" + std::to_string(id) + "-" + name;
}

} // namespace test
