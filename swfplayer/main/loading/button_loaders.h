#pragma once

namespace swfplayer {

// Registers the loaders of DefineButton (7), DefineButtonSound (17) and DefineButton2 (34).
void register_button_loaders();

}  // namespace swfplayer
