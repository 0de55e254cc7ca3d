#include "tests/ReferenceRules.hpp"

#include "engine/Sfml.hpp"

#include <cmath>
#include <cstddef>
#include <utility>

namespace test {

namespace {

float distance(const sf::Vector2f a, const sf::Vector2f b) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    return static_cast<float>(std::sqrt(std::pow(static_cast<double>(dx), 2) + std::pow(static_cast<double>(dy), 2)));
}

// A step of the given length from one point toward another; none where the points coincide or the
// arithmetic overflows.
sf::Vector2f toward(const float length, const sf::Vector2f from, const sf::Vector2f to) {
    const float d = distance(from, to);
    if (d == 0.0F) {
        return {};
    }
    const sf::Vector2f step(length * (to.x - from.x) / d, length * (to.y - from.y) / d);
    return std::isfinite(step.x) && std::isfinite(step.y) ? step : sf::Vector2f();
}

// An intersection of positive width and height. The library's test alone would also count a rectangle with a
// coordinate that is not a number, when that rectangle is the argument (its min and max pass such a value
// over); asking both ways round leaves that out and changes nothing for any other pair.
bool overlap(const G::Item& a, const G::Item& b) {
    const sf::FloatRect first = a.getGlobalBounds();
    const sf::FloatRect second = b.getGlobalBounds();
    return G::sfml::intersects(first, second) && G::sfml::intersects(second, first);
}

} // namespace

void ReferenceRules::update(G::GameState& state) {
    hunt(state, state.rocks, state.scissors);
    hunt(state, state.scissors, state.papers);
    hunt(state, state.papers, state.rocks);
}

void ReferenceRules::hunt(G::GameState& state, std::vector<G::Item>& hunters, std::vector<G::Item>& prey) {
    const float speed = state.pursuitSpeed;
    for (std::size_t i = 0; i < hunters.size(); ++i) {
        hunters[i].velocity = sf::Vector2f();

        if (!prey.empty()) {
            std::size_t best = 0;
            for (std::size_t k = 0; k < prey.size(); ++k) {
                if (distance(hunters[i].getPosition(), prey[k].getPosition()) <
                    distance(hunters[i].getPosition(), prey[best].getPosition())) {
                    best = k;
                }
            }
            hunters[i].velocity = toward(speed, hunters[i].getPosition(), prey[best].getPosition());
        }

        for (std::size_t j = 0; j < hunters.size(); ++j) {
            if (j != i && overlap(hunters[i], hunters[j])) {
                const sf::Vector2f self = hunters[i].getPosition();
                const sf::Vector2f other = hunters[j].getPosition();
                hunters[i].velocity =
                    self == other ? sf::Vector2f(i < j ? -speed : speed, 0.0F) : -toward(speed, self, other);
                break;
            }
        }

        hunters[i].move();

        for (std::size_t k = 0; k < prey.size();) {
            if (!overlap(hunters[i], prey[k])) {
                ++k;
                continue;
            }
            G::Item convert(state.tool, hunters[i].kind);
            hunters.push_back(std::move(convert));
            hunters.back().setPosition(prey[k].getPosition());
            prey.erase(prey.begin() + static_cast<std::ptrdiff_t>(k));
            k = 0;
        }
    }
}

} // namespace test
