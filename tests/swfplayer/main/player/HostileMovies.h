#pragma once

#include "tools/swfkit/BitWriter.h"

#include <string>
#include <utility>
#include <vector>

// Movies whose scripts or tags once made a frame, a load or the memory run away: the player's
// regression tests play them within time and memory bounds, and they are seeds of the fuzzers
// that play movies. Each script leaves what it built in timeline variables of the root, so that
// a test can check the work was done, not skipped.
namespace hostile_movies {

// A loop in the assembler's text: var counts from 0 while below count, running body each time.
std::string Loop(const std::string& var, int count, const std::string& body);

// A movie (800 x 600, version 8) of frames frames whose first frame runs the script, given in
// the assembler's text; frame_rate in frames per second. A playing movie of several frames runs
// the script again each time it loops.
swfkit::Bytes ScriptMovie(const std::string& script, double frame_rate = 12.0, int frames = 1);

// s = 2^17 characters "x"; a = s.split(""); b = a 200,000-element array pushed one by one.
swfkit::Bytes SplitAndPush();
// A string of 8 MB in global register 1; charAt(5) of it a hundred times ("c" holds the last
// result), then charAt(5) for ever.
swfkit::Bytes CharAtOfRegister();
// 19,000 clips made on the root, then 40,000 reads of a member the root has not.
swfkit::Bytes ManyChildren();
// A symbol "sym" whose registered class constructor attaches the symbol to the root twice
// more, until the player holds as many characters as it may.
swfkit::Bytes SelfAttachingClass();
// Two frames at 30 a second whose scripts both loop for ever (an endless jump): every frame the
// movie plays spends the whole budget of the frame it runs in.
swfkit::Bytes EndlessLoops();
// Two frames, the first making count interval timers of interval 0 whose bodies never end.
swfkit::Bytes EndlessTimers(int count, double frame_rate = 12.0);
// Every other frame, a function makes 100 object, array and function cycles of 10 KB each,
// which nothing refers to once it returns.
swfkit::Bytes Cycles();
// 300 listeners that each broadcast a 100-argument message again whenever they receive one.
swfkit::Bytes Rebroadcasts();
// new m0() ... new m<count - 1>() of classes nobody defines.
swfkit::Bytes UnknownClasses(int count);
// A 100 x 100 text field given a text of 4 MB ("n" holds its length).
swfkit::Bytes LongTextField();
// inner = 16 strings of 1 MB; then either t = the text of 256 copies of inner (4 GB), or u = a
// string concatenated with 256 texts of inner; "after" is set once that is done.
swfkit::Bytes HugeJoin(bool concatenate);
// A string of 8 MB in global register 1, pushed 300 times by one Push record; "count" holds how
// many of the values pushed are equal to it, "n" its length.
swfkit::Bytes RegisterStringPushes();
// Twenty texts of 16 MB, each joined from an 8 MB string in global register 1, left on the stack;
// "after" is set once they are made.
swfkit::Bytes KeptConcatenations();
// A 706-byte movie whose DefineFont3 tag declares 2.4 GB for 330 glyphs.
swfkit::Bytes FontClaimingGigabytes();
// A 42-byte movie whose DefineSound tag declares a long ADPCM sound it does not hold.
swfkit::Bytes SoundClaimingGigabytes();

// All of the above that a fuzzer can play, by file name.
std::vector<std::pair<std::string, swfkit::Bytes>> All();

}  // namespace hostile_movies
