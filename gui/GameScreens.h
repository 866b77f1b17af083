#pragma once

class GUIDirector;

// Gives the director the game's screens beyond the main menu and the hint: the quick match's
// creature selection, the level selection, the in-match screen, the pause and the match over, and
// the championship's creature selection, level sets, match table and get-ready screen.
void RegisterGameScreens(GUIDirector& director);
