#include "app/PerformanceCounter.h"

#include "app/Log.h"
#include "app/VirtualFile.h"

#include <SFML/Graphics/RenderTarget.hpp>

#include <cstdio>

namespace {

const char* const kFontFile = "data/child.ttf";
constexpr unsigned int kCharacterSize = 20;
const sf::Color kTextColor(50, 50, 250, 255);
// Lines are this many units apart.
constexpr float kLineHeight = 20.0f;
// A report needs at least this many frames and this many seconds.
constexpr int kMinFrames = 10;
constexpr float kMinSeconds = 1.0f;
// A font file is far smaller than this.
constexpr long long kMaxFontBytes = 64 * 1024 * 1024;

// printf formatting of one number into a short line; the formats are this file's own.
template <typename Number>
std::string Format(const char* format, Number value) {
    char line[128];
    std::snprintf(line, sizeof(line), format, value);
    return line;
}

}  // namespace

PerformanceCounter& PerformanceCounter::GetInstance() {
    static PerformanceCounter instance;
    return instance;
}

void PerformanceCounter::Setup() {
    m_Frames = 0;
    m_Fps = 0.0f;
    m_Elapsed = 0.0f;
    // The font reads from its bytes while it lives: it lets go of the old ones (by loading the
    // new ones or by being emptied) before they are freed. Moving the vector keeps its bytes.
    const std::string file = VirtualFile::Load(kFontFile, kMaxFontBytes).bytes;
    std::vector<char> bytes(file.begin(), file.end());
    if (bytes.empty() || !m_Font.loadFromMemory(bytes.data(), bytes.size())) {
        m_Font = sf::Font();
        log_error("PerformanceCounter::Setup: cannot load the font %s", kFontFile);
    }
    m_FontBytes = std::move(bytes);
    Style(m_FpsText);
    for (Counter& counter : counters) {
        Style(counter.text);
    }
}

void PerformanceCounter::AddCounter(unsigned int number, const std::string& name, int kind) {
    counters.resize(static_cast<size_t>(number) + 1);
    Counter& counter = counters[number];
    counter.name = name;
    Style(counter.text);
    counter.kind = kind;
    counter.count = 0;
    counter.time = 0.0f;
}

void PerformanceCounter::Update(float frameTime) {
    m_Frames += 1;
    m_Elapsed += frameTime;
    m_TotalTime += frameTime;
    if (m_Frames < kMinFrames || m_Elapsed < kMinSeconds) {
        return;
    }

    m_Fps = static_cast<float>(m_Frames) / m_Elapsed;
    m_FpsText.setString(Format("%.1f fps", m_Fps));
    int line = 1;
    for (Counter& counter : counters) {
        if (counter.name.empty()) {
            continue;
        }
        if (counter.kind == Time) {
            counter.text.setString(counter.name + Format(": %.0f%%", counter.time / m_Elapsed * 100.0f));
        } else {
            counter.text.setString(counter.name + Format(": %d", counter.count / m_Frames));
        }
        counter.text.setPosition(0.0f, static_cast<float>(line) * kLineHeight);
        line += 1;
    }

    m_Frames = 0;
    m_Elapsed = 0.0f;
    for (Counter& counter : counters) {
        counter.time = 0.0f;
        counter.count = 0;
    }
}

void PerformanceCounter::Style(sf::Text& text) const {
    text.setFont(m_Font);
    text.setCharacterSize(kCharacterSize);
    text.setFillColor(kTextColor);
}

void PerformanceCounter::draw(sf::RenderTarget& target, sf::RenderStates states) const {
    states.transform *= getTransform();
    target.draw(m_FpsText, states);
    for (const Counter& counter : counters) {
        if (!counter.name.empty()) {
            target.draw(counter.text, states);
        }
    }
}
