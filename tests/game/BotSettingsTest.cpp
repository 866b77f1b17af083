// A bot's settings as its file holds them: the weight table read element by element and
// normalised into running sums, the goal drawn from a row, and timings kept as written unless
// they are not numbers the bot can reckon with.
#include "game/BotSettings.h"
#include "serializeme/XmlStorageBuffer.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Row = std::array<float, 4>;

// The settings read from a "botsettings" element holding the weights (as written in the file)
// and the extra attributes.
BotSettings Read(const std::vector<std::string>& weights, const std::string& attributes = "") {
    std::string xml = "<botsettings " + attributes + "><array name=\"m_GoalWeights\">";
    for (const std::string& weight : weights) {
        xml += "<element value=\"" + weight + "\" />";
    }
    xml += "</array></botsettings>";
    TiXmlDocument document;
    document.Parse(xml.c_str());
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(document.RootElement());
    BotSettings settings;
    EXPECT_TRUE(settings.Serialize(reader));
    return settings;
}

std::vector<std::string> Repeated(const std::string& weight, int count) {
    return std::vector<std::string>(count, weight);
}

std::vector<std::string> Joined(std::vector<std::vector<std::string>> rows) {
    std::vector<std::string> all;
    for (const auto& row : rows) {
        all.insert(all.end(), row.begin(), row.end());
    }
    return all;
}

void ExpectRows(const BotSettings& settings, const std::array<Row, 4>& rows) {
    for (uint32_t condition = 0; condition < 4; ++condition) {
        for (uint32_t goal = 0; goal < 4; ++goal) {
            EXPECT_FLOAT_EQ(settings.Cumulative(condition, goal), rows[condition][goal])
                << "condition " << condition << ", goal " << goal;
        }
    }
}

constexpr Row kZeros{0.0f, 0.0f, 0.0f, 0.0f};
constexpr Row kEven{0.25f, 0.5f, 0.75f, 1.0f};

TEST(BotSettings, weights_become_running_sums_of_each_row) {
    struct Case {
        const char* what;
        std::vector<std::string> weights;
        std::array<Row, 4> rows;
    };
    const Case cases[] = {
        {"sixteen weights",
         Joined({{"0", "0", "0", "0"}, {"1", "0", "0", "3"}, {"1", "1", "1", "1"}, {"0", "0.5", "0", "0"}}),
         {kZeros, Row{0.25f, 0.25f, 0.25f, 1.0f}, kEven, Row{0.0f, 1.0f, 1.0f, 1.0f}}},
        {"five weights: the rest count 0",
         {"1", "1", "1", "1", "2"},
         {kEven, Row{1.0f, 1.0f, 1.0f, 1.0f}, kZeros, kZeros}},
        {"twenty weights: the extras are ignored",
         Joined({Repeated("1", 16), Repeated("100", 4)}),
         {kEven, kEven, kEven, kEven}},
        {"none", {}, {kZeros, kZeros, kZeros, kZeros}},
        {"not finite: 0; negative and huge: as written",
         Joined({{"nan", "-1", "2", "0"},
                 {"1e38", "1e38", "1e38", "1e38"},
                 {"inf", "1", "0", "-inf"},
                 {"-1", "0", "0", "-3"}}),
         {Row{0.0f, -1.0f, 1.0f, 1.0f}, kZeros, Row{0.0f, 1.0f, 1.0f, 1.0f}, Row{0.25f, 0.25f, 0.25f, 1.0f}}},
        {"beyond the float range: 0; a row summing to 0 is divided by 1",
         Joined({{"1e39", "0", "0", "1e38"}, {"1", "-1", "0", "0"}, {"2", "-3", "0", "1"}}),
         {Row{0.0f, 0.0f, 0.0f, 1.0f}, Row{1.0f, 0.0f, 0.0f, 0.0f}, Row{2.0f, -1.0f, -1.0f, 0.0f}, kZeros}},
        {"an element without a value counts 0 in its place",
         Joined({{"1", "1", "1", "1"}, {"x", "1", "1", "1"}}),
         {kEven, Row{0.0f, 1.0f / 3, 2.0f / 3, 1.0f}, kZeros, kZeros}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        ExpectRows(Read(test.weights), test.rows);
    }
}

// Weights are drawn from as written: a row whose sum overflows to infinity has running sums of 0
// and always draws a goto; negative weights move the running sums back and forth, and the first
// sum above r still picks the goal.
TEST(BotSettings, huge_and_negative_weights_draw_as_written) {
    const BotSettings settings =
        Read(Joined({{"3e38", "3e38", "3e38", "3e38"}, {"0", "2", "-1", "0"}, {"-1", "0", "0", "-3"}, {}}));
    for (const float r : {0.0f, 0.5f, 0.99f}) {
        EXPECT_EQ(settings.PickGoal(BotSettings::kNormal, r), BotSettings::kGoto) << r;
        EXPECT_EQ(settings.PickGoal(BotSettings::kNoBalls, r), BotSettings::kFetch) << r;
    }
    EXPECT_EQ(settings.PickGoal(BotSettings::kGoodShot, 0.2f), BotSettings::kGoto);
    EXPECT_EQ(settings.PickGoal(BotSettings::kGoodShot, 0.3f), BotSettings::kShoot);
}

TEST(BotSettings, the_goal_is_the_first_whose_running_sum_exceeds_r) {
    const BotSettings settings = Read(Joined({Repeated("0", 4), {"1", "0", "0", "3"}, {"0", "1", "1", "0"}, {}}));
    struct Case {
        uint32_t condition;
        float r;
        uint32_t goal;
    };
    for (const Case& test :
         {Case{BotSettings::kNormal, 0.0f, BotSettings::kGoto}, Case{BotSettings::kNormal, 0.99f, BotSettings::kGoto},
          Case{BotSettings::kNoBalls, 0.0f, BotSettings::kGoto},
          Case{BotSettings::kNoBalls, 0.25f, BotSettings::kShoot},
          Case{BotSettings::kNoBalls, 0.3f, BotSettings::kShoot},
          Case{BotSettings::kGoodShot, 0.49f, BotSettings::kFetch},
          Case{BotSettings::kGoodShot, 0.5f, BotSettings::kChase}, Case{BotSettings::kScared, 0.5f, BotSettings::kGoto},
          Case{7, 0.5f, BotSettings::kGoto}}) {
        EXPECT_EQ(settings.PickGoal(test.condition, test.r), test.goal)
            << "condition " << test.condition << ", r " << test.r;
    }
}

// Timings and the shooting distance are kept as written, negative ones too; only values that are
// not finite fall back to their defaults.
TEST(BotSettings, timings_are_kept_as_written_unless_not_finite) {
    const BotSettings read = Read({},
                                  "m_ConditionTimeout=\"nan\" m_GoalTimeout=\"inf\" m_PathStuckTimeout=\"-inf\" "
                                  "m_ShootingCooldown=\"nan\" m_ShootingDistance=\"-inf\"");
    EXPECT_EQ(read.m_ConditionTimeout, BotSettings::kDefaultConditionTimeout);
    EXPECT_EQ(read.m_GoalTimeout, BotSettings::kDefaultGoalTimeout);
    EXPECT_EQ(read.m_PathStuckTimeout, BotSettings::kDefaultPathStuckTimeout);
    EXPECT_EQ(read.m_ShootingCooldown, BotSettings::kDefaultShootingCooldown);
    EXPECT_EQ(read.m_ShootingDistance, BotSettings::kDefaultShootingDistance);

    const BotSettings usable = Read({},
                                    "m_ConditionTimeout=\"0\" m_GoalTimeout=\"3\" m_PathStuckTimeout=\"0.5\" "
                                    "m_ShootingCooldown=\"2\" m_ShootingDistance=\"40\"");
    EXPECT_EQ(usable.m_ConditionTimeout, 0.0f);
    EXPECT_EQ(usable.m_GoalTimeout, 3.0f);
    EXPECT_EQ(usable.m_PathStuckTimeout, 0.5f);
    EXPECT_EQ(usable.m_ShootingCooldown, 2.0f);
    EXPECT_EQ(usable.m_ShootingDistance, 40.0f);

    const BotSettings negative = Read({},
                                      "m_ConditionTimeout=\"-1\" m_GoalTimeout=\"-2\" m_PathStuckTimeout=\"-0.5\" "
                                      "m_ShootingCooldown=\"-0.25\" m_ShootingDistance=\"-100\"");
    EXPECT_EQ(negative.m_ConditionTimeout, -1.0f);
    EXPECT_EQ(negative.m_GoalTimeout, -2.0f);
    EXPECT_EQ(negative.m_PathStuckTimeout, -0.5f);
    EXPECT_EQ(negative.m_ShootingCooldown, -0.25f);
    EXPECT_EQ(negative.m_ShootingDistance, -100.0f);
}

// Written and read back, every stored member comes back in the file's layout; the running sums
// are made again on reading.
TEST(BotSettings, a_written_record_reads_back_whole) {
    BotSettings written;
    written.m_GoalWeights = {1.0f, 0.0f, 0.0f, 3.0f, 0.5f, 0.5f, 0.0f, 0.0f,
                             0.0f, 0.0f, 0.0f, 2.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    written.m_Personality = "Careful <and> \"quick\"";
    written.m_BallChoiceMode = 2;
    written.m_EnemyShootMode = 7;
    written.m_ConditionTimeout = 0.75f;
    written.m_GoalTimeout = 4.0f;
    written.m_PathStuckTimeout = 2.5f;
    written.m_ShootingCooldown = 1.25f;
    written.m_ShootingDistance = 60.0f;
    sme::XmlStorageBuffer writer(true);
    writer.WriteObject("m_Settings", written);
    const TiXmlElement* element = writer.GetRoot()->FirstChildElement("botsettings");
    ASSERT_NE(element, nullptr);
    EXPECT_STREQ(element->Attribute("name"), "m_Settings");

    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(writer.GetRoot());
    BotSettings read;
    ASSERT_TRUE(reader.ReadObject("m_Settings", read));
    EXPECT_EQ(read.m_GoalWeights, written.m_GoalWeights);
    EXPECT_EQ(read.m_Personality, written.m_Personality);
    EXPECT_EQ(read.m_BallChoiceMode, 2u);
    EXPECT_EQ(read.m_EnemyShootMode, 7u);
    EXPECT_EQ(read.m_ConditionTimeout, 0.75f);
    EXPECT_EQ(read.m_GoalTimeout, 4.0f);
    EXPECT_EQ(read.m_PathStuckTimeout, 2.5f);
    EXPECT_EQ(read.m_ShootingCooldown, 1.25f);
    EXPECT_EQ(read.m_ShootingDistance, 60.0f);
    ExpectRows(read, {Row{0.25f, 0.25f, 0.25f, 1.0f}, Row{0.5f, 1.0f, 1.0f, 1.0f}, Row{0.0f, 0.0f, 0.0f, 1.0f}, kEven});
}

TEST(BotSettings, the_conditions_have_their_names) {
    EXPECT_STREQ(BotSettings::ConditionName(0), "normal");
    EXPECT_STREQ(BotSettings::ConditionName(1), "noballs");
    EXPECT_STREQ(BotSettings::ConditionName(2), "goodshot");
    EXPECT_STREQ(BotSettings::ConditionName(3), "scared");
    EXPECT_STREQ(BotSettings::ConditionName(4), "");
}

}  // namespace
