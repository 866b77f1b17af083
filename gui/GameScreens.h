#pragma once

class GUIDirector;

// Gives the game's director the game's own screens (each loads its description as it joins).
// The director's tests give it stand-ins instead.
void RegisterGameScreens(GUIDirector& director);
