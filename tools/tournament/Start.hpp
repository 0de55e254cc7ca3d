#pragma once

#include "arena/Item.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace G {

// How many pieces of each kind a game starts with, in the arena's order: rock, paper, scissors. The program
// itself has two, 50 of each and 100 of each after R; a tournament may start from any other.
class Start {
public:
    // A game of this many pieces in all is over within about a minute on two cores at the default frame
    // cap, even where it runs to the cap.
    static constexpr std::int32_t mostPieces = 3000;

    // 50 of each kind, as the program starts.
    Start() = default;
    static Start equal(std::int32_t each);
    // That many rocks, papers and scissors; throws a Failure (status 2) for a start without any piece or with
    // more than mostPieces, its message worded as parse's.
    static Start of(const std::array<std::int32_t, 3>& counts);

    // A start written as its name is: the size of an equal start ("150", a multiple of 3), or one count per
    // kind ("30,50,50"). Throws a Failure (status 2) whose message names the text and what is wrong with it,
    // worded to follow the name of the option or the field it came from.
    static Start parse(const std::string& text);

    // A count as a start is written with: whole decimal digits; nothing for anything else.
    static std::optional<std::int32_t> countFrom(const std::string& text);
    // Why countFrom reads no count in the text, as "'TEXT' is ...": no whole number, or one too large.
    static std::string whyNoCount(const std::string& text);

    std::int32_t count(ItemKind kind) const;
    // The same start with that kind's count changed, checked as of() checks it.
    Start with(ItemKind kind, std::int32_t count) const;
    std::int32_t total() const;
    bool isEqual() const;
    // "150" for an equal start, "30,50,50" for any other: what parse reads.
    std::string name() const;
    // "50,50,50": the counts, whether the start is equal or not, which parse reads as well.
    std::string perKind() const;
    // "150-piece start", or "130-piece start (30 rock, 50 paper, 50 scissors)".
    std::string description() const;

    bool operator==(const Start& other) const { return counts == other.counts; }
    bool operator!=(const Start& other) const { return counts != other.counts; }

private:
    std::array<std::int32_t, 3> counts{50, 50, 50};
};

} // namespace G
