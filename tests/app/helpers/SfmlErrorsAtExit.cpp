// Makes SFML's error stream write into the game's log as the game does, starts threads that write
// SFML-style errors to it without end, and returns from main once each has written a line: the
// program's end (the buffer's flush, the log's last line, the libraries' own exit handlers) runs
// while the threads go on writing. The error log tests run it many times.
#include "app/ErrorLogBuffer.h"
#include "app/Logger.h"

#include <SFML/System/Err.hpp>

#include <atomic>
#include <thread>

namespace {

constexpr int kThreads = 8;
std::atomic<int> g_Started = 0;

// One message that every thread repeats (which the buffer counts) and one of the thread's own.
void WriteErrors(int thread) {
    for (long line = 0;; ++line) {
        sf::err() << "Failed to play audio stream: sound parameters have not been initialized" << std::endl;
        sf::err() << "thread " << thread << " line " << line << std::endl;
        if (line == 0) {
            ++g_Started;
        }
    }
}

}  // namespace

int main() {
    Logger::GetInstance();
    ErrorLogBuffer::InstallForSfml();
    for (int t = 0; t < kThreads; ++t) {
        std::thread(WriteErrors, t).detach();
    }
    while (g_Started < kThreads) {
        std::this_thread::yield();
    }
    return 0;
}
