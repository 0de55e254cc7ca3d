#include <SFML/Window/Context.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#ifndef _WIN32
#include <dlfcn.h>
#include <link.h>
#endif
#include <string>
#include <vector>

#ifndef _WIN32
namespace {

std::vector<std::string> loadedLibraries() {
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t /*size*/, void* data) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0') {
                static_cast<std::vector<std::string>*>(data)->emplace_back(info->dlpi_name);
            }
            return 0;
        },
        &names);
    return names;
}

// Mesa loads its software driver with the first GL context and unloads it when the display closes, before
// LeakSanitizer reports at exit. The driver keeps a few hundred bytes of its own for good, and once it is
// unloaded those show up as an unknown module that no suppression can name. So before any test runs, a GL
// context brings the driver in, and everything loaded by then is marked never to be unloaded: the
// driver's frames keep their names, and the suppressions can say whose they are.
class KeepGraphicsDriverLoaded : public ::testing::Environment {
public:
    void SetUp() override {
        const sf::Context context;
        for (const std::string& name : loadedLibraries()) {
            dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
        }
    }
};

} // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // Under Wine, a run that printed nothing is taken for one that Wine never started (legs/wine-test), so
    // what the suite prints must not wait in a buffer.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
#endif
    ::testing::InitGoogleTest(&argc, argv);
#ifndef _WIN32
    ::testing::AddGlobalTestEnvironment(new KeepGraphicsDriverLoaded);
#endif
    return RUN_ALL_TESTS();
}
