#include "game/LevelLimits.h"

#include "app/Log.h"
#include "app/ResourceXml.h"
#include "game/SvgOutline.h"

#include <map>
#include <optional>

namespace {

// Counts the fixtures kept so far, in file order, and refuses every fixture from the first that
// does not fit on, logging which limit that one passed.
class FixtureBudget {
public:
    explicit FixtureBudget(const std::string& file) : m_File(file) {}

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
    bool Spent() const { return m_Spent; }

private:
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

// The paths of a drawing file, or nothing when it cannot be read.
std::optional<SvgOutline::Drawing> ReadDrawing(const std::string& file) {
    const ResourceXml document(file);
    if (document.GetRoot() == nullptr) {
        return std::nullopt;
    }
    return SvgOutline::Read(*document.GetRoot(), file);
}

}  // namespace

void LevelLimits::Apply(LevelData& level, const std::string& file) {
    Cut(level.m_Bodies, kMaxBodies, "bodies", file);
    Cut(level.m_Balls, kMaxBalls, "balls", file);
    FixtureBudget budget(file);
    // The drawings read so far, by name; they go when the level is read.
    std::map<std::string, std::optional<SvgOutline::Drawing>> drawings;
    for (BodyData& body : level.m_Bodies) {
        size_t kept = 0;
        while (kept < body.m_Fixtures.size() && budget.Take(body.m_Fixtures[kept])) {
            ++kept;
        }
        body.m_Fixtures.resize(kept);
        if (body.m_SVGFile.empty() || budget.Spent()) {
            continue;
        }
        auto drawing = drawings.find(body.m_SVGFile);
        if (drawing == drawings.end()) {
            drawing = drawings.emplace(body.m_SVGFile, ReadDrawing(body.m_SVGFile)).first;
        }
        if (!drawing->second) {
            log_error("LevelLimits::Apply: cannot read the outline drawing %s", body.m_SVGFile.c_str());
            continue;
        }
        for (const SvgOutline::Path& path : drawing->second->paths) {
            FixtureData fixture = SvgOutline::Place(*drawing->second, path, body.m_SVGOffset);
            if (!budget.Take(fixture)) {
                break;
            }
            body.m_Fixtures.push_back(std::move(fixture));
        }
    }
}
