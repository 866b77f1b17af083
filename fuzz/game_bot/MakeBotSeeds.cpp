// make_bot_seeds <folder>: writes the seeds of the bot fuzzer into folder/bot_seeds: every
// shipped bot's file, and files with the faults a bot file can have (too few or too many weights,
// weights and timings that are not finite, negative or huge, a way of choosing balls that does
// not exist, no settings at all, no file structure at all).
#include "fuzz/SeedWriter.h"
#include "tools/creatures/BotDesigns.h"
#include "tools/creatures/CreatureWriter.h"
#include "tools/levels/ContentFiles.h"

#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Seeds = std::vector<std::pair<std::string, std::string>>;

// The file's text as the creature tool writes it: the creature, then the settings (none when null).
std::string BotText(const CreatureDesign& creature, BotSettings* settings, const std::filesystem::path& scratch) {
    GlobboData data = CreatureData(creature);
    std::vector<std::pair<const char*, sme::Serializable*>> records = {{"globbo", &data}};
    if (settings != nullptr) {
        records.emplace_back("m_Settings", settings);
    }
    WriteRecords(scratch, records);
    std::ifstream in(scratch, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bot_seeds <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "bot_seeds";
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "make_bot_seeds.xml";
    const std::vector<BotDesign> bots = ShippedBots();
    Seeds seeds;
    for (BotDesign bot : bots) {
        seeds.emplace_back(bot.file, BotText(bot.creature, &bot.settings, scratch));
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const BotDesign& last = bots.back();
    std::vector<std::pair<std::string, BotSettings>> faults(7, {"", last.settings});
    faults[0].first = "five_weights";
    faults[0].second.m_GoalWeights.resize(5);
    faults[1].first = "twenty_weights";
    faults[1].second.m_GoalWeights.resize(20, 7.0f);
    faults[2].first = "no_weights";
    faults[2].second.m_GoalWeights.clear();
    faults[3].first = "odd_weights";
    faults[3].second.m_GoalWeights = {nan,   -1.0f, 1e38f, inf,   0.0f, 0.0f, 0.0f, 0.0f,
                                      1e38f, 1e38f, 1e38f, 1e38f, -inf, 2.0f, 0.0f, 1.0f};
    faults[4].first = "odd_timings";
    faults[4].second.m_ConditionTimeout = nan;
    faults[4].second.m_GoalTimeout = -3.0f;
    faults[4].second.m_PathStuckTimeout = inf;
    faults[4].second.m_ShootingCooldown = -inf;
    faults[4].second.m_ShootingDistance = 1e38f;
    faults[5].first = "zero_timings";
    faults[5].second.m_ConditionTimeout = 0.0f;
    faults[5].second.m_GoalTimeout = 0.0f;
    faults[5].second.m_PathStuckTimeout = 0.0f;
    faults[5].second.m_ShootingDistance = 0.0f;
    faults[6].first = "no_such_ball_choice";
    faults[6].second.m_BallChoiceMode = 7;
    for (auto& [name, settings] : faults) {
        seeds.emplace_back(name, BotText(last.creature, &settings, scratch));
    }
    seeds.emplace_back("no_settings", BotText(bots.front().creature, nullptr, scratch));
    seeds.emplace_back("not_xml", "<resource><botsettings name=\"m_Settings\"><array name=\"m_GoalWeights\"><element");
    std::filesystem::remove(scratch);
    return fuzz_support::write_seeds("make_bot_seeds", folder, seeds);
}
