#pragma once

#include <string>
#include <vector>

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/System/Clock.hpp>

// Stand-in for the performance overlay: the counters the main loop times its sections on, with
// no report and nothing drawn.

namespace standin {

class PerformanceCounter : public sf::Drawable {
public:
    // What a counter measures.
    enum Kind { Time = 0, Count = 1 };

    // One measured section: restart clock and add 1 to count before it, add the clock's elapsed
    // seconds to time after it; a count counter adds a quantity to count instead.
    struct Counter {
        std::string name;
        sf::Clock clock;
        int kind = Time;
        float time = 0.0f;
        int count = 0;
    };

    static PerformanceCounter& GetInstance() {
        static PerformanceCounter instance;
        return instance;
    }

    void Setup() {}

    void AddCounter(unsigned int number, const std::string& name, int kind) {
        counters.resize(number + 1);
        counters[number].name = name;
        counters[number].kind = kind;
    }

    // Once a frame, with the frame's time in seconds.
    void Update(float) {}

    std::vector<Counter> counters;

private:
    PerformanceCounter() = default;
    void draw(sf::RenderTarget&, sf::RenderStates) const override {}
};

}  // namespace standin
