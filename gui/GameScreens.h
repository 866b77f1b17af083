#pragma once

class GUIDirector;

// Gives the director the game's screens beyond the main menu and the hint: the quick match's
// creature selection, the level selection, the in-match screen, the pause and the match over.
void RegisterGameScreens(GUIDirector& director);
