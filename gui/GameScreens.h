#pragma once

class GUIDirector;

// Gives the game's director, while it is made, the screens beyond the main menu and the hint:
// the title, the quick match's and the training's creature selections, the level selection, the
// in-match screen, the pause, the match over and the statistics, and the championship's creature
// selection, level sets, match table, get-ready screen and podium.
void RegisterGameScreens(GUIDirector& director);
