#include "game/LevelLimits.h"

#include "app/Log.h"
#include "app/ResourceXml.h"
#include "game/SvgOutline.h"

#include <map>
#include <memory>

namespace {

// Counts the fixtures kept so far, in file order, and ends the counting at the first that does
// not fit, logging which limit it passed.
class FixtureBudget {
public:
    explicit FixtureBudget(const std::string& file) : m_File(file) {}

    // Keeps the leading fixtures of the list that fit, from index `first` on, and drops the rest.
    void Trim(std::vector<FixtureData>& fixtures, size_t first) {
        size_t kept = first;
        while (kept < fixtures.size() && Take(fixtures[kept])) {
            ++kept;
        }
        fixtures.resize(kept);
    }
    bool Spent() const { return m_Spent; }

private:
    bool Take(const FixtureData& fixture) {
        if (m_Spent) {
            return false;
        }
        if (m_Fixtures == LevelLimits::kMaxFixtures) {
            log_error("LevelLimits::Apply: %s holds more than %zu fixtures; the rest are left out", m_File.c_str(),
                      LevelLimits::kMaxFixtures);
            m_Spent = true;
        } else if (fixture.m_Vertices.size() > LevelLimits::kMaxOutlinePoints - m_Points) {
            log_error("LevelLimits::Apply: %s holds more than %zu outline points; the fixtures past them are left out",
                      m_File.c_str(), LevelLimits::kMaxOutlinePoints);
            m_Spent = true;
        } else {
            ++m_Fixtures;
            m_Points += fixture.m_Vertices.size();
        }
        return !m_Spent;
    }

    const std::string& m_File;
    size_t m_Fixtures = 0;
    size_t m_Points = 0;
    bool m_Spent = false;
};

template <typename T>
void Cut(std::vector<T>& records, size_t limit, const char* what, const std::string& file) {
    if (records.size() > limit) {
        log_error("LevelLimits::Apply: %s holds more than %zu %s; the rest are left out", file.c_str(), limit, what);
        records.resize(limit);
    }
}

}  // namespace

void LevelLimits::Apply(LevelData& level, const std::string& file) {
    Cut(level.m_Bodies, kMaxBodies, "bodies", file);
    Cut(level.m_Balls, kMaxBalls, "balls", file);
    FixtureBudget budget(file);
    // The drawings read so far, by name; they go when the level is read.
    std::map<std::string, std::unique_ptr<ResourceXml>> drawings;
    for (BodyData& body : level.m_Bodies) {
        budget.Trim(body.m_Fixtures, 0);
        if (body.m_SVGFile.empty() || budget.Spent()) {
            continue;
        }
        std::unique_ptr<ResourceXml>& drawing = drawings[body.m_SVGFile];
        if (drawing == nullptr) {
            drawing = std::make_unique<ResourceXml>(body.m_SVGFile);
        }
        if (drawing->GetRoot() == nullptr) {
            log_error("LevelLimits::Apply: cannot read the outline drawing %s", body.m_SVGFile.c_str());
            continue;
        }
        const size_t own = body.m_Fixtures.size();
        SvgOutline::AppendFixtures(*drawing->GetRoot(), body.m_SVGOffset, body.m_SVGFile, body.m_Fixtures);
        budget.Trim(body.m_Fixtures, own);
    }
}
