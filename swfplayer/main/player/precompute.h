#pragma once

namespace swfplayer {

class movie_def_impl;

// Most steps precompute_cached_data takes, so that a movie that waits for ever (a stopped
// frame that never moves on, a script loop back, a frame rate of 0) still lets loading end.
constexpr int max_precompute_steps = 10000;
// Most time the steps take, whatever each step costs (every step advances the interval timers
// and draws the frame); shapes of frames not reached are tessellated when first shown.
constexpr int max_precompute_milliseconds = 5000;

// Plays a throw-away instance of def, in a player of its own, through its frames with no render
// handler and no sound handler installed, so that every shape it shows builds its meshes before
// the cache file is written. Stopped frames are kicked on (11 kicks in a row end it), backward
// jumps go on from the frame after the furthest one reached. The movie's scripts get one frame's
// budget for the whole run: the budget of the frame under way when the load runs inside one (a
// script's, or the frame a host opened around its movies).
//
// FSCommands the movie raises meanwhile are not delivered: the host's callback is taken away
// for the run, since a command from a movie nobody sees would reach the game during loading.
void precompute_cached_data(movie_def_impl* def);

}  // namespace swfplayer
