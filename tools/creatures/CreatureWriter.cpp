#include "tools/creatures/CreatureWriter.h"

#include "game/Globbo.h"
#include "tools/creatures/CreatureMovies.h"
#include "tools/levels/BallArt.h"
#include "tools/levels/ContentFiles.h"
#include "tools/swfkit/Movie.h"

GlobboData CreatureData(const CreatureDesign& design) {
    GlobboData data;
    data.m_CharacterName = design.characterName;
    data.m_SnapshotFile = CreatureMovie(design, "portrait");
    data.m_BodyColor = ColorData(design.body.r, design.body.g, design.body.b, design.body.a);
    if (design.skin != SkinDecoration::kNone) {
        data.m_SkinAttachment = CreatureMovie(design, "skin");
    }
    if (design.top != TopDecoration::kNone) {
        data.m_SkinTopAttachment = CreatureMovie(design, "top");
    }
    data.m_Eyes.m_Image = CreatureMovie(design, "eyes");
    if (design.eyes != EyesDecoration::kNone) {
        data.m_Eyes.m_Attachment = CreatureMovie(design, "eyes_decoration");
    }
    data.m_Eyes.m_UseColorTransform = false;
    data.m_Mouth.m_Image = CreatureMovie(design, "mouth");
    data.m_Mouth.m_OpenDelay = design.openDelay;
    data.m_Mouth.m_ClosedDelay = design.closedDelay;
    data.m_Mouth.m_UseColorTransform = false;
    data.m_Selectable = true;
    return data;
}

namespace {

// The movies the definition names.
bool WriteMovies(const CreatureDesign& design, const GlobboData& data, const std::filesystem::path& gameFolder) {
    using namespace creature_movies;
    bool written = WriteBytes(gameFolder / data.m_Eyes.m_Image, EyesMovie(design));
    written = WriteBytes(gameFolder / data.m_Mouth.m_Image, MouthMovie(design)) && written;
    written = WriteBytes(gameFolder / data.m_SnapshotFile, PortraitMovie(design)) && written;
    if (!data.m_SkinAttachment.empty()) {
        written = WriteBytes(gameFolder / data.m_SkinAttachment, SkinDecorationMovie(design)) && written;
    }
    if (!data.m_SkinTopAttachment.empty()) {
        written = WriteBytes(gameFolder / data.m_SkinTopAttachment, TopDecorationMovie(design)) && written;
    }
    if (!data.m_Eyes.m_Attachment.empty()) {
        written = WriteBytes(gameFolder / data.m_Eyes.m_Attachment, EyesDecorationMovie(design)) && written;
    }
    return written;
}

}  // namespace

bool WriteCreature(const CreatureDesign& design, const std::filesystem::path& gameFolder) {
    GlobboData data = CreatureData(design);
    const bool written = WriteRecords(gameFolder / CreatureFile(design), {{"globbo", &data}});
    return WriteMovies(design, data, gameFolder) && written;
}

bool WriteBot(const BotDesign& bot, const std::filesystem::path& gameFolder) {
    GlobboData data = CreatureData(bot.creature);
    BotSettings settings = bot.settings;
    const bool written = WriteRecords(gameFolder / BotFile(bot), {{"globbo", &data}, {"m_Settings", &settings}});
    return WriteMovies(bot.creature, data, gameFolder) && written;
}

bool WriteShippedCreatures(const std::filesystem::path& gameFolder) {
    bool written = true;
    for (const CreatureDesign& design : ShippedCreatures()) {
        written = WriteCreature(design, gameFolder) && written;
    }
    for (const BotDesign& bot : ShippedBots()) {
        written = WriteBot(bot, gameFolder) && written;
    }
    return written;
}

bool WriteCreaturesAndBalls(const std::filesystem::path& gameFolder) {
    swfkit::Movie empty(8, {0, 800 * 20, 0, 600 * 20}, 30.0);
    empty.Tags().ShowFrame();
    bool written = WriteBytes(gameFolder / Globbo::kSkinMovie, empty.Write(false));
    written = WriteBytes(gameFolder / "data/ball.swf", ball_art::BallMovie()) && written;
    written = WriteBytes(gameFolder / "data/ball_glow.swf", ball_art::GlowMovie()) && written;
    return WriteShippedCreatures(gameFolder) && written;
}
