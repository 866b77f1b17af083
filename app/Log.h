#pragma once

// The game's three log functions: printf-style, written to the root category of the game's log
// at DEBUG (700), INFO (600) or ERROR (300). Each makes sure the logger exists first. Messages
// name the class and operation, then a colon: "SoundManager::PlayMusic: cannot open %s".

void log_debug(const char* format, ...) __attribute__((format(printf, 1, 2)));
void log_info(const char* format, ...) __attribute__((format(printf, 1, 2)));
void log_error(const char* format, ...) __attribute__((format(printf, 1, 2)));
