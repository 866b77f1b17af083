#pragma once
// Internal to make_movies: the menu movies and their screen descriptions, each written from one
// source so that the clips the descriptions name are the clips the movies hold.

#include "tools/movies/BubbleButtons.h"
#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/FontBuilder.h"

#include <string>
#include <vector>

// The main menu: its buttons and title (data/gui/mainmenu.swf), its scenery
// (data/gui/mainmenu_backdrop.swf) and data/gui/mainmenu.xml.
swfkit::Bytes MainMenuMovie(const swfkit::EmbeddedFont& font);
swfkit::Bytes MainMenuBackdropMovie();
std::string MainMenuDescription(const swfkit::EmbeddedFont& font);

// The control hints (data/gui/hint.swf) and data/gui/hint.xml.
swfkit::Bytes HintMovie(const swfkit::EmbeddedFont& font);
std::string HintDescription();

// The statistics screen (data/gui/statistics.swf) and data/gui/statistics.xml.
swfkit::Bytes StatisticsMovie(const swfkit::EmbeddedFont& font);
std::string StatisticsDescription();

// The championship's podium: its medals, cheers and buttons (data/gui/championship_podium.swf),
// its sky (data/gui/championship_podium_background.swf) and data/gui/championship_podium.xml.
swfkit::Bytes PodiumMovie(const swfkit::EmbeddedFont& font);
swfkit::Bytes PodiumBackgroundMovie();
std::string PodiumDescription();

// The training's selection (data/gui/globbo_selection_training.swf) and its description.
swfkit::Bytes TrainingSelectionMovie(const swfkit::EmbeddedFont& font);
std::string TrainingSelectionDescription(const swfkit::EmbeddedFont& font);

// The title screen (data/gui/gametitle.swf) and data/gui/gametitle.xml.
swfkit::Bytes GameTitleMovie(const swfkit::EmbeddedFont& font);
std::string GameTitleDescription();

// The tutorial's lessons (data/gui/tutorial.swf) and data/gui/tutorial.xml.
swfkit::Bytes TutorialMovie(const swfkit::EmbeddedFont& font);
std::string TutorialDescription();

// The flash of a controller's new cursor (data/controller_init.swf): 100 x 100, white, tinted
// by the game.
swfkit::Bytes ControllerInitMovie();

// The pond of the main menu without its two Globbos (data/gui/menu_backdrop.swf), behind the
// selection screens.
swfkit::Bytes MenuBackdropMovie();

// A creature's portrait on the selection screens: the photo frame (data/gui/photo_frame.swf,
// 100 x 100, the clip "face" in its middle, labels "showup1" to "showup8" that pop it in and
// "hide" that shrinks it away, each ending stopped, and "shown" that stands still in place), the
// test tube (data/gui/globbo_test_tube.swf, 40 x 100, its clip "liquid" white for the game to tint), and the layout of
// the name with the frame or without it (data/gui/photo_frame_text.xml, data/gui/photo_frame_text_noframe.xml),
// placed for the shipped creatures' names measured in the font.
swfkit::Bytes PhotoFrameMovie();
swfkit::Bytes TestTubeMovie();
std::string PhotoFrameText(bool withFrame, const swfkit::EmbeddedFont& font);
// The controllers' pictures beside a chosen creature (data/gui/controller_keyboard_arrows.swf,
// controller_keyboard_wasd.swf, controller_gamepad.swf), 100 x 80, in that order.
std::vector<swfkit::Bytes> ControllerPictureMovies(const swfkit::EmbeddedFont& font);

// The quick match's creature selection (data/gui/globbo_selection_quickmatch.swf and .xml): the
// clips "Back" and "Start", a shelf behind the pool and the players' empty places.
swfkit::Bytes QuickMatchSelectionMovie(const swfkit::EmbeddedFont& font);
std::string QuickMatchSelectionDescription(const swfkit::EmbeddedFont& font);
// A creature selection of that look: the shelf, an empty place on a pad at each of the slots'
// x positions (on the slots' row, y 495), and the buttons.
swfkit::Bytes SelectionMovie(const swfkit::EmbeddedFont& font, const std::vector<float>& slotX,
                             const std::vector<bubble_buttons::Bubble>& buttons);

// The level selection (data/gui/level_selection.swf and .xml): the clips "Back", "Left", "Start"
// and "Right" around a window at (190, 100), 400 x 300, through which the level's screenshot
// shows.
swfkit::Bytes LevelSelectionMovie(const swfkit::EmbeddedFont& font);
// The description's title is the given one.
std::string LevelSelectionDescription(const swfkit::EmbeddedFont& font, const std::string& title = "Choose a pond");

// The match over (data/gui/match_over.swf and .xml), drawn over the finished match: it dims the
// match round a spotlight on the middle, sends "GoWinner" at once and "ShowText" once the winner
// has flown in, and fades in its buttons "Stats", "PlayAgain", "MainMenu", "NextMatch" and
// "GetAwards"; the texts "matchover", "congrats" and "thewinner".
swfkit::Bytes MatchOverMovie(const swfkit::EmbeddedFont& font);
std::string MatchOverDescription(const swfkit::EmbeddedFont& font);
// How long after the match over shows its movie sends "ShowText", in seconds.
double MatchOverTextSeconds();

// The pause (data/gui/paused.swf and .xml), drawn over the stopped match: the clips "Back" (go
// on) and "EndGame".
swfkit::Bytes PausedMovie(const swfkit::EmbeddedFont& font);
std::string PausedDescription();

// The championship's creature selection of four (data/gui/championship_globbo_selection.swf and
// .xml), its level sets (data/gui/championship_level_selection.xml over the level selection's
// movie), the match table (data/gui/championship_match_table.swf and .xml: rows "match<k>rect",
// "match<k>p1", "match<k>p2", frames "2 players" to "4 players", texts "title2" and the rows'
// names, and "Start"), the table's highlight (data/gui/championship_match_table_selection.swf,
// 80 x 80, eight frames of a pulse), the get-ready overlay (data/gui/championship_get_ready.swf
// and .xml, texts "ready1" and "ready2") and the marker of a claimed creature
// (data/gui/globbo_getready_selection.swf, 100 x 100, white for the game to tint, labels
// "showup" and "hide").
swfkit::Bytes ChampionshipSelectionMovie(const swfkit::EmbeddedFont& font);
std::string ChampionshipSelectionDescription(const swfkit::EmbeddedFont& font);
std::string ChampionshipLevelSetDescription(const swfkit::EmbeddedFont& font);
swfkit::Bytes MatchTableMovie(const swfkit::EmbeddedFont& font);
std::string MatchTableDescription(const swfkit::EmbeddedFont& font);
swfkit::Bytes MatchTableSelectionMovie();
swfkit::Bytes GetReadyMarkerMovie();
swfkit::Bytes GetReadyMovie(const swfkit::EmbeddedFont& font);
std::string GetReadyDescription();
