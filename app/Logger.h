#pragma once

#include <string>

// The game's log: one file, "Pondorix.log" in the user's data folder, emptied at every start.
// Built on first use (main uses it before anything else) and destroyed at program exit, when it
// writes the last line. Log calls made after that are dropped, from any thread: a line is written
// whole before the last line or not at all.
class Logger {
public:
    static Logger& GetInstance();

    // The user's data folder, ending in '/', or empty when it could not be had.
    const std::string& GetUserFolder() const { return m_UserFolder; }
    // The log file: the user folder followed by "Pondorix.log".
    const std::string& GetLogFile() const { return m_LogFile; }

    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

private:
    Logger();
    ~Logger();

    std::string m_UserFolder;
    std::string m_LogFile;
};
