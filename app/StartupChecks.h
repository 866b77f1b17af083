#pragma once

namespace platform {
class DisplayConnection;
}

// What a program of the game's window (the game, match_view) checks once its log exists and
// before it builds anything of the window library, which aborts the process without a display.
// Each finding is one line on standard error, after the program's name, and the same at ERROR in
// the log.
//
// The start fails (false: the program ends with exit code 1, no window opened) when the working
// folder cannot be found (it has been deleted), when "data.bin" there is not a regular file, when
// the game's file system would find no "application.xml" in the working folder, neither loose nor
// in the archive "data.bin" there (the program was not started from the game's run folder, so it
// would run with no data and no controllers; a loose one that is there but cannot be read is told
// as such, with the system's reason), or when the program's own connection to the X display did
// not open (the line names the display tried). The program holds that connection for its whole
// run. When it goes on, a user folder that could not be created or written is told too: the log,
// the preferences and the statistics then go to the working folder, or, when that cannot be
// written either, are not saved at all.
bool CheckStartup(const char* program, const platform::DisplayConnection& display);
