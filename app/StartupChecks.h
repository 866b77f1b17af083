#pragma once

// What a program of the game's window (the game, match_view) checks once its log exists and
// before it builds anything of the window library, which aborts the process without a display.
// Each finding is one line on standard error, after the program's name, and the same at ERROR in
// the log.
//
// The start fails (false: the program ends with exit code 1, no window opened) when the working
// folder holds no "application.xml" (the program was not started from the game's run folder, so
// it would run with no data and no controllers), or when the X display does not open (the line
// names the display tried). When it goes on, a user folder that could not be created or written
// is told too: the log, the preferences and the statistics then go to the working folder, or,
// when that cannot be written either, are not saved at all.
bool CheckStartup(const char* program);
