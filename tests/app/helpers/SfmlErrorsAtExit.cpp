// Makes SFML's error stream write into the game's log as the game does, starts threads that write
// SFML-style errors to it without end, and ends once each has written a line: the program's end
// (the buffer's flush, the log's last line, the libraries' own exit handlers) runs while the
// threads go on writing. Each thread writes a message that every thread repeats and long lines of
// its own (ThreadErrorLine), each in pieces. With the argument "exit" the program ends by calling
// exit(), otherwise by returning from main. The error log tests run it many times.
#include "app/ErrorLogBuffer.h"
#include "app/Logger.h"
#include "tests/app/helpers/ThreadErrorLine.h"

#include <SFML/System/Err.hpp>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string_view>
#include <thread>

namespace {

constexpr int kThreads = 8;
// How much of a line each write carries: lines reach the buffer in many writes, as from SFML.
constexpr size_t kPiece = 100;
std::atomic<int> g_Started = 0;

void WriteErrors(int thread) {
    for (long line = 0;; ++line) {
        sf::err() << "Failed to play audio stream: sound parameters have not been initialized" << std::endl;
        const std::string text = ThreadErrorLine(thread, line);
        for (size_t start = 0; start < text.size(); start += kPiece) {
            sf::err() << std::string_view(text).substr(start, std::min(kPiece, text.size() - start));
        }
        sf::err() << std::endl;
        if (line == 0) {
            // Each thread goes on once all have written their first line: the main thread ends
            // the program then, while they all write. A thread that came first thus writes no
            // more before the end than one that came last, however long the machine kept that one
            // waiting, so a run's log stays short on a busy machine too.
            ++g_Started;
            while (g_Started < kThreads) {
                std::this_thread::yield();
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Logger::GetInstance();
    ErrorLogBuffer::InstallForSfml();
    for (int t = 0; t < kThreads; ++t) {
        std::thread(WriteErrors, t).detach();
    }
    while (g_Started < kThreads) {
        std::this_thread::yield();
    }
    if (argc > 1 && std::string_view(argv[1]) == "exit") {
        std::exit(0);
    }
    return 0;
}
