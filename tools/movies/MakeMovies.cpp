// make_movies <data folder> <font file>: writes the game's own movies made with the SWF kit, and
// the screen descriptions that go with them:
//   empty.swf            the overlay drawn over every screen: the 800 x 600 logical screen, one
//                        empty frame;
//   controller_init.swf  the flash of a controller's new menu cursor;
//   gui/mainmenu.swf, gui/mainmenu_backdrop.swf, gui/mainmenu.xml   the main menu;
//   gui/hint.swf, gui/hint.xml                                      the control hints;
//   gui/menu_backdrop.swf                                           the selections' scenery;
//   gui/photo_frame.swf, gui/globbo_test_tube.swf, gui/photo_frame_text.xml,
//   gui/photo_frame_text_noframe.xml                                the creatures' portraits;
//   gui/controller_keyboard_arrows.swf, gui/controller_keyboard_wasd.swf,
//   gui/controller_gamepad.swf                                      the controllers' pictures;
//   gui/globbo_selection_quickmatch.swf, .xml                       the quick match's selection;
//   gui/level_selection.swf, .xml                                   the level selection;
//   gui/match_over.swf, .xml                                        the match over;
//   gui/paused.swf, .xml                                            the pause;
//   gui/statistics.swf, gui/statistics.xml                          the statistics screen;
//   gui/gametitle.swf, gui/gametitle.xml                            the title screen;
//   gui/globbo_selection_training.swf, .xml                         the training's selection;
//   gui/tutorial.swf, gui/tutorial.xml                              the tutorial;
//   gui/championship_*.swf, .xml, gui/globbo_getready_selection.swf the championship's screens.
// The font (a TrueType file) is embedded where movies show text and measures the screens' texts.
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "make_movies: cannot write %s\n", path.c_str());
    }
    return static_cast<bool>(out);
}

bool WriteFile(const std::filesystem::path& path, const swfkit::Bytes& bytes) {
    return WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

// Every printable ASCII character.
std::string PrintableCharacters() {
    std::string text;
    for (char c = ' '; c <= '~'; ++c) {
        text += c;
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_movies <data folder> <font file>\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    swfkit::EmbeddedFont font;
    if (!swfkit::LoadTrueTypeFont(argv[2], PrintableCharacters(), &font)) {
        std::fprintf(stderr, "make_movies: cannot read the font %s\n", argv[2]);
        return 1;
    }

    swfkit::Movie empty(8, {0, 800 * 20, 0, 600 * 20}, 30);
    empty.Tags().ShowFrame();
    const bool written = WriteFile(folder / "empty.swf", empty.Write(false)) &&
                         WriteFile(folder / "controller_init.swf", ControllerInitMovie()) &&
                         WriteFile(folder / "gui/mainmenu.swf", MainMenuMovie(font)) &&
                         WriteFile(folder / "gui/mainmenu_backdrop.swf", MainMenuBackdropMovie()) &&
                         WriteFile(folder / "gui/mainmenu.xml", MainMenuDescription(font)) &&
                         WriteFile(folder / "gui/hint.swf", HintMovie(font)) &&
                         WriteFile(folder / "gui/hint.xml", HintDescription());
    const std::vector<swfkit::Bytes> controllers = ControllerPictureMovies(font);
    const bool selections =
        WriteFile(folder / "gui/menu_backdrop.swf", MenuBackdropMovie()) &&
        WriteFile(folder / "gui/photo_frame.swf", PhotoFrameMovie()) &&
        WriteFile(folder / "gui/globbo_test_tube.swf", TestTubeMovie()) &&
        WriteFile(folder / "gui/photo_frame_text.xml", PhotoFrameText(true, font)) &&
        WriteFile(folder / "gui/photo_frame_text_noframe.xml", PhotoFrameText(false, font)) &&
        WriteFile(folder / "gui/controller_keyboard_arrows.swf", controllers[0]) &&
        WriteFile(folder / "gui/controller_keyboard_wasd.swf", controllers[1]) &&
        WriteFile(folder / "gui/controller_gamepad.swf", controllers[2]) &&
        WriteFile(folder / "gui/globbo_selection_quickmatch.swf", QuickMatchSelectionMovie(font)) &&
        WriteFile(folder / "gui/globbo_selection_quickmatch.xml", QuickMatchSelectionDescription(font)) &&
        WriteFile(folder / "gui/level_selection.swf", LevelSelectionMovie(font)) &&
        WriteFile(folder / "gui/level_selection.xml", LevelSelectionDescription(font)) &&
        WriteFile(folder / "gui/match_over.swf", MatchOverMovie(font)) &&
        WriteFile(folder / "gui/match_over.xml", MatchOverDescription(font)) &&
        WriteFile(folder / "gui/paused.swf", PausedMovie(font)) &&
        WriteFile(folder / "gui/paused.xml", PausedDescription()) &&
        WriteFile(folder / "gui/statistics.swf", StatisticsMovie(font)) &&
        WriteFile(folder / "gui/statistics.xml", StatisticsDescription()) &&
        WriteFile(folder / "gui/gametitle.swf", GameTitleMovie(font)) &&
        WriteFile(folder / "gui/gametitle.xml", GameTitleDescription()) &&
        WriteFile(folder / "gui/globbo_selection_training.swf", TrainingSelectionMovie(font)) &&
        WriteFile(folder / "gui/globbo_selection_training.xml", TrainingSelectionDescription(font)) &&
        WriteFile(folder / "gui/tutorial.swf", TutorialMovie(font)) &&
        WriteFile(folder / "gui/tutorial.xml", TutorialDescription()) &&

        WriteFile(folder / "gui/championship_podium.swf", PodiumMovie(font)) &&
        WriteFile(folder / "gui/championship_podium_background.swf", PodiumBackgroundMovie()) &&
        WriteFile(folder / "gui/championship_podium.xml", PodiumDescription());
    const bool championship =
        WriteFile(folder / "gui/championship_globbo_selection.swf", ChampionshipSelectionMovie(font)) &&
        WriteFile(folder / "gui/championship_globbo_selection.xml", ChampionshipSelectionDescription(font)) &&
        WriteFile(folder / "gui/championship_level_selection.xml", ChampionshipLevelSetDescription(font)) &&
        WriteFile(folder / "gui/championship_match_table.swf", MatchTableMovie(font)) &&
        WriteFile(folder / "gui/championship_match_table.xml", MatchTableDescription(font)) &&
        WriteFile(folder / "gui/championship_match_table_selection.swf", MatchTableSelectionMovie()) &&
        WriteFile(folder / "gui/championship_get_ready.swf", GetReadyMovie(font)) &&
        WriteFile(folder / "gui/championship_get_ready.xml", GetReadyDescription()) &&
        WriteFile(folder / "gui/globbo_getready_selection.swf", GetReadyMarkerMovie());
    return written && selections && championship ? 0 : 1;
}
