#include "engine/App.hpp"

int main(int /*argc*/, char** /*argv*/) {
    const G::App app;
    return app.exitStatus();
}
