#include "app/Logger.h"

#include "app/Log.h"
#include "platform/UserFolder.h"

#include <log4cpp/Category.hh>
#include <log4cpp/FileAppender.hh>
#include <log4cpp/PatternLayout.hh>
#include <log4cpp/Priority.hh>

#include <atomic>
#include <cstdarg>
#include <mutex>
#include <string>

namespace {

enum class LoggerState { NotBuilt, Alive, Destroyed };
std::atomic<LoggerState> g_LoggerState = LoggerState::NotBuilt;

// Held while a line is written and while the logger ends, so that another thread's line is either
// written whole before the last line or dropped. Never destroyed: threads may still log while the
// program ends.
std::mutex& WriteMutex() {
    static std::mutex* const mutex = new std::mutex;
    return *mutex;
}

// printf-style formatting into a string of any length.
std::string FormatMessage(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    int length = vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

void LogAt(log4cpp::Priority::Value priority, const char* format, va_list args) {
    if (g_LoggerState == LoggerState::NotBuilt) {
        Logger::GetInstance();
    }
    const std::string message = FormatMessage(format, args);
    const std::lock_guard<std::mutex> lock(WriteMutex());
    if (g_LoggerState == LoggerState::Alive) {
        log4cpp::Category::getRoot().log(priority, message);
    }
}

}  // namespace

Logger& Logger::GetInstance() {
    static Logger instance;
    return instance;
}

Logger::Logger() : m_UserFolder(platform::GetUserDataFolder()), m_LogFile(m_UserFolder + "Pondorix.log") {
    auto* layout = new log4cpp::PatternLayout();
    layout->setConversionPattern("%d{%Y-%m-%d %H:%M:%S,%l} %p: %m%n");
    // append = false: every start empties the log. Mode 0644.
    auto* appender = new log4cpp::FileAppender("Main", m_LogFile, false, 0644);
    appender->setLayout(layout);
    log4cpp::Category& root = log4cpp::Category::getRoot();
    root.setPriority(log4cpp::Priority::INFO);
    root.addAppender(appender);
    g_LoggerState = LoggerState::Alive;
    log_info("============== Logging started ==============");
}

Logger::~Logger() {
    const std::lock_guard<std::mutex> lock(WriteMutex());
    log4cpp::Category::getRoot().info("============== Logging finished ==============");
    g_LoggerState = LoggerState::Destroyed;
    log4cpp::Category::shutdown();
}

void log_debug(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogAt(log4cpp::Priority::DEBUG, format, args);
    va_end(args);
}

void log_info(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogAt(log4cpp::Priority::INFO, format, args);
    va_end(args);
}

void log_error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogAt(log4cpp::Priority::ERROR, format, args);
    va_end(args);
}
