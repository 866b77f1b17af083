#include "tools/creatures/BotDesigns.h"

namespace {

swfkit::Color Rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    return {r, g, b, a};
}

constexpr uint8_t kSkinAlpha = 130;

// The weights of the four conditions (normal, noballs, goodshot, scared), each a row of the four
// goals (goto, fetch, chase, shoot).
BotSettings Settings(const std::vector<float>& weights, const std::string& personality) {
    BotSettings settings;
    settings.m_GoalWeights = weights;
    settings.m_Personality = personality;
    settings.Normalise();
    return settings;
}

BotDesign Blaze() {
    BotDesign bot;
    bot.file = "1_blaze";
    CreatureDesign& d = bot.creature;
    d.name = "blaze";
    d.characterName = "Blaze";
    d.body = Rgb(240, 60, 50, kSkinAlpha);
    d.lid = Rgb(200, 35, 30);
    d.iris = Rgb(250, 180, 30);
    d.eyeWidth = 9.0;
    d.eyeHeight = 9.5;
    d.eyeSpacing = 23.0;
    d.pupilRadius = 3.4;
    d.mouthWidth = 11.5;
    d.teeth = true;
    d.openDelay = 1.4f;
    d.closedDelay = 0.4f;
    d.top = TopDecoration::kHorns;
    d.eyes = EyesDecoration::kBrows;
    d.decoration = Rgb(255, 225, 150);
    bot.settings = Settings({0.0f, 0.3f, 0.7f, 0.0f,   // normal
                             0.1f, 0.6f, 0.3f, 0.0f,   // noballs
                             0.0f, 0.0f, 0.1f, 0.9f,   // goodshot
                             0.0f, 0.6f, 0.4f, 0.0f},  // scared
                            "Charges straight at you and spits the moment it holds a ball, whichever ball it grabbed.");
    bot.settings.m_BallChoiceMode = BotSettings::kLastBall;
    bot.settings.m_ShootingCooldown = 0.0f;
    return bot;
}

BotDesign Bleep() {
    BotDesign bot;
    bot.file = "2_bleep";
    CreatureDesign& d = bot.creature;
    d.name = "bleep";
    d.characterName = "Bleep";
    d.body = Rgb(90, 225, 190, kSkinAlpha);
    d.lid = Rgb(50, 180, 150);
    d.iris = Rgb(30, 150, 200);
    d.eyeWidth = 11.5;
    d.eyeHeight = 11.5;
    d.eyeSpacing = 26.0;
    d.pupilRadius = 5.0;
    d.mouthWidth = 6.5;
    d.openDelay = 2.4f;
    d.top = TopDecoration::kAntenna;
    d.decoration = Rgb(255, 90, 120);
    bot.settings = Settings({0.3f, 0.5f, 0.2f, 0.0f,   // normal
                             0.1f, 0.9f, 0.0f, 0.0f,   // noballs
                             0.2f, 0.5f, 0.0f, 0.3f,   // goodshot
                             0.4f, 0.6f, 0.0f, 0.0f},  // scared
                            "Gathers every ball it can see and spits them back in quick volleys.");
    bot.settings.m_BallChoiceMode = BotSettings::kClosestInSight;
    bot.settings.m_ShootingCooldown = 0.4f;
    return bot;
}

BotDesign Duke() {
    BotDesign bot;
    bot.file = "3_duke";
    CreatureDesign& d = bot.creature;
    d.name = "duke";
    d.characterName = "Duke";
    d.body = Rgb(70, 95, 215, kSkinAlpha);
    d.lid = Rgb(45, 65, 175);
    d.iris = Rgb(120, 80, 40);
    d.eyeWidth = 9.5;
    d.eyeHeight = 11.0;
    d.eyeSpacing = 24.0;
    d.pupilRadius = 3.8;
    d.mouthWidth = 7.0;
    d.openDelay = 3.0f;
    d.closedDelay = 0.7f;
    d.top = TopDecoration::kCrown;
    d.eyes = EyesDecoration::kGlasses;
    d.decoration = Rgb(220, 40, 90);
    bot.settings = Settings({0.0f, 0.4f, 0.6f, 0.0f,    // normal
                             0.15f, 0.85f, 0.0f, 0.0f,  // noballs
                             0.0f, 0.2f, 0.0f, 0.8f,    // goodshot
                             0.2f, 0.8f, 0.0f, 0.0f},   // scared
                            "Plans a path to the nearest ball, keeps out of your way and waits for a clean shot.");
    bot.settings.m_BallChoiceMode = BotSettings::kClosestReachable;
    bot.settings.m_ShootingCooldown = 0.5f;
    bot.settings.m_GoalTimeout = 6.0f;
    bot.settings.m_PathStuckTimeout = 3.0f;
    return bot;
}

}  // namespace

std::vector<BotDesign> ShippedBots() {
    return {Blaze(), Bleep(), Duke()};
}

std::string BotFile(const BotDesign& bot) {
    return "data/ais/" + bot.file + ".xml";
}
