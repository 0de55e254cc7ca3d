// libFuzzer target: builds an arena from the input bytes (how many pieces of each kind, where each one
// stands, the frame time and how many frames to run), runs the simulation and checks after every update
// that the number of pieces is kept, every piece is in its own kind's list, and nothing is non-finite.
#include "arena/GameState.hpp"
#include "engine/Tool.hpp"
#include "tests/Invariants.hpp"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

// Reads the input front to back; past its end every read gives zeros.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, const std::size_t size) : data(data), size(size) {}

    std::uint8_t byte() { return offset < size ? data[offset++] : 0; }

    std::uint16_t word() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }

    // Any finite float the bytes spell; non-finite spellings become 0, since no piece can start there.
    float finite() {
        std::uint32_t bits = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            bits |= static_cast<std::uint32_t>(byte()) << shift;
        }
        float value = 0.0F;
        std::memcpy(&value, &bits, sizeof value);
        return std::isfinite(value) ? value : 0.0F;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset = 0;
};

// One context for the whole run: it holds a GL context, and creating one per input would be slow. It is
// never destroyed, so the graphics driver stays loaded until the process ends.
const std::shared_ptr<G::Tool>& sharedTool() {
    static const auto* const tool = [] {
        auto* made = new std::shared_ptr<G::Tool>(std::make_shared<G::Tool>());
        (*made)->assets.setFrames("quorvel", G::GameState::spriteFrames());
        return made;
    }();
    return *tool;
}

void place(ByteReader& input, std::vector<G::Item>& items) {
    for (G::Item& item : items) {
        // Mostly positions in and around the window, stacked where the bytes repeat; sometimes any float.
        if (input.byte() < 224) {
            item.setPosition(sf::Vector2f(static_cast<float>(input.word() % 1600) - 200.0F,
                                          static_cast<float>(input.word() % 1200) - 200.0F));
        } else {
            item.setPosition(sf::Vector2f(input.finite(), input.finite()));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::shared_ptr<G::Tool>& tool = sharedTool();
    std::srand(input.word());

    G::GameState state(tool);
    state.spawn(input.word() % 201, input.word() % 201, input.word() % 201);
    place(input, state.rocks);
    place(input, state.papers);
    place(input, state.scissors);
    const std::size_t total = state.rocks.size() + state.papers.size() + state.scissors.size();

    const int frames = 1 + input.byte() % 8;
    for (int frame = 0; frame < frames; ++frame) {
        // Frame times from 0 to a little over a second, in steps fine enough to include tiny ones.
        tool->frameTime = static_cast<float>(input.word()) / 60000.0F;
        state.update();
        const std::string problem = test::firstViolation(state, total);
        if (!problem.empty()) {
            std::fprintf(stderr, "invariant broken after frame %d: %s\n", frame, problem.c_str());
            std::abort();
        }
    }
    return 0;
}
