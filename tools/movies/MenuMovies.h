#pragma once
// Internal to make_movies: the menu movies and their screen descriptions, each written from one
// source so that the clips the descriptions name are the clips the movies hold.

#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/FontBuilder.h"

#include <string>

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

// The flash of a controller's new cursor (data/controller_init.swf): 100 x 100, white, tinted
// by the game.
swfkit::Bytes ControllerInitMovie();
