#pragma once

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Transformable.hpp>
#include <SFML/System/Clock.hpp>

#include <string>
#include <vector>

// The performance overlay: the frame rate and, per numbered counter, the share of time spent in
// a section of the frame or the mean of a quantity per frame. The main loop and the movies time
// their sections on the counters; once a second (and after at least ten frames) Update turns the
// sums into lines of text, drawn from the overlay's position (the top-left corner) downwards.
class PerformanceCounter : public sf::Drawable, public sf::Transformable {
public:
    // What a counter measures.
    enum Kind { Time = 0, Count = 1 };

    // One measured section. Timing it: restart clock and add 1 to count before it, add the
    // clock's elapsed seconds to time after it. A count counter adds a quantity to count instead.
    struct Counter {
        // Empty for an unused slot, which takes no line.
        std::string name;
        sf::Clock clock;
        // The counter's last report.
        sf::Text text;
        int kind = Time;
        // Seconds spent in the section since the last report.
        float time = 0.0f;
        int count = 0;
    };

    // The program-wide overlay.
    static PerformanceCounter& GetInstance();

    PerformanceCounter() = default;
    // The texts point at the overlay's own font.
    PerformanceCounter(const PerformanceCounter&) = delete;
    PerformanceCounter& operator=(const PerformanceCounter&) = delete;

    // Starts a new reporting period and loads the font "data/child.ttf" through the virtual file
    // system (a missing font leaves the texts invisible).
    void Setup();
    // Sets counter `number` (0 up), making the list number + 1 entries long: later entries are
    // dropped, new ones are unused slots.
    void AddCounter(unsigned int number, const std::string& name, int kind);
    // Once a frame, with the frame's time in seconds: counts the frame and, when a report is
    // due, writes the texts and starts a new period.
    void Update(float frameTime);

    // The frame-rate line, "60.0 fps" once the first report is made.
    const sf::Text& GetFpsText() const { return m_FpsText; }
    // The frame rate of the last report.
    float GetFps() const { return m_Fps; }

    // Indexed by counter number.
    std::vector<Counter> counters;

private:
    // Gives a text the overlay's font, size and colour.
    void Style(sf::Text& text) const;
    // Draws the frame-rate line, then every counter's text in number order.
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;

    // The font file's bytes, which the font reads from for as long as it lives.
    std::vector<char> m_FontBytes;
    sf::Font m_Font;
    sf::Text m_FpsText;
    // Frames and seconds since the last report.
    int m_Frames = 0;
    float m_Elapsed = 0.0f;
    // Seconds since start.
    double m_TotalTime = 0.0;
    float m_Fps = 0.0f;
};
