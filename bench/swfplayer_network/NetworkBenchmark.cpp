// The network classes' hot paths beside plain peers doing the same work:
// - one LoadVars sendAndLoad of 10 pairs to a server on 127.0.0.1 answering 10 pairs, until
//   onLoad, against the same exchange made with bare sockets and a split of the answer; the
//   CPU time is the client thread's, and "frames" counts the frame ticks from the moment the
//   server's answer was written to onLoad (1 means the first tick after the answer ends it);
// - url_encode and url_decode against a table-driven std::string implementation.
//
// Judged side by side on the minimum and the median of interleaved repetitions:
//   bench_swfplayer_network --benchmark_enable_random_interleaving=true --benchmark_repetitions=10
//       --benchmark_report_aggregates_only=true
#include "swfplayer/base/url_escape.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/as_loadvars.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace swfplayer;

namespace {

double Min(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

std::string Pairs(const char* prefix) {
    std::string pairs;
    for (int i = 0; i < 10; i++) {
        pairs += (i ? "&" : "") + std::string(prefix) + std::to_string(i) + "=value%20" + std::to_string(i);
    }
    return pairs;
}

// A server on 127.0.0.1 that reads each request (head and Content-Length body) and answers
// every one with the same 10 pairs, then closes.
class AnsweringServer {
public:
    AnsweringServer() {
        m_listening = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        bind(m_listening, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        getsockname(m_listening, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        listen(m_listening, 64);
        const std::string body = Pairs("answer");
        m_answer = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
                   "\r\n\r\n" + body;
        m_thread = std::thread([this] { Serve(); });
    }
    ~AnsweringServer() {
        m_stop = true;
        m_thread.join();
        close(m_listening);
    }
    int Port() const { return m_port; }
    // Waits until count answers have been written.
    void AwaitAnswers(long count) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_answered_changed.wait(lock, [&] { return m_answered >= count; });
    }

private:
    void Serve() {
        while (!m_stop) {
            pollfd entry{m_listening, POLLIN, 0};
            if (poll(&entry, 1, 50) <= 0) {
                continue;
            }
            int peer = accept4(m_listening, nullptr, nullptr, SOCK_CLOEXEC);
            if (peer < 0) {
                continue;
            }
            ReadRequest(peer);
            send(peer, m_answer.data(), m_answer.size(), MSG_NOSIGNAL);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_answered++;
            }
            m_answered_changed.notify_all();
            close(peer);
        }
    }
    static void ReadRequest(int peer) {
        std::string request;
        char buffer[4096];
        for (;;) {
            size_t head_end = request.find("\r\n\r\n");
            if (head_end != std::string::npos) {
                size_t at = request.find("Content-Length: ");
                size_t body = at == std::string::npos ? 0 : std::stoul(request.substr(at + 16));
                if (request.size() >= head_end + 4 + body) {
                    return;
                }
            }
            ssize_t got = recv(peer, buffer, sizeof(buffer), 0);
            if (got <= 0) {
                return;
            }
            request.append(buffer, static_cast<size_t>(got));
        }
    }

    int m_listening = -1;
    int m_port = 0;
    std::string m_answer;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_answered_changed;
    long m_answered = 0;
};

// Sends standard output to /dev/null while it lives.
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        m_saved = dup(1);
        int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        dup2(null, 1);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(m_saved, 1);
        close(m_saved);
    }

private:
    int m_saved;
};

bool s_loaded = false;
void on_load(const fn_call&) {
    s_loaded = true;
}

void LoadVarsRoundTrip(benchmark::State& state) {
    // Standard output carries the requests LoadVars echoes; it stays quiet so the report is readable.
    QuietStdout quiet;
    AnsweringServer server;
    register_builtin_classes();
    smart_ptr<player> owner = new player();
    as_environment env(owner.get_ptr());
    smart_ptr<as_loadvars> lv = new as_loadvars(owner.get_ptr());
    for (int i = 0; i < 10; i++) {
        lv->set_member(("sent" + std::to_string(i)).c_str(), ("value " + std::to_string(i)).c_str());
    }
    lv->set_member("onLoad", as_value(owner.get_ptr(), on_load));
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/exchange";
    as_value send_and_load;
    lv->get_member("sendAndLoad", &send_and_load);
    long round_trips = 0;
    long frames = 0;
    for (auto _ : state) {
        s_loaded = false;
        env.push(as_value(lv.get_ptr()));
        env.push(as_value(url.c_str()));
        call_method(send_and_load, &env, as_value(lv.get_ptr()), 2, env.get_top_index());
        env.drop(2);
        server.AwaitAnswers(++round_trips);
        while (!s_loaded) {
            owner->advance_frame_objects(1.0f / 30.0f);
            frames++;
        }
    }
    state.counters["frames"] = benchmark::Counter(static_cast<double>(frames) / std::max(round_trips, 1L));
}
BENCHMARK(LoadVarsRoundTrip)->ComputeStatistics("min", Min);

// The same exchange with bare sockets: connect, write the request, read the answer to its end
// and split its body into pairs.
void BareSocketRoundTrip(benchmark::State& state) {
    AnsweringServer server;
    const std::string body = Pairs("sent");
    const std::string request = "POST /exchange HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nContent-Length: " +
                                std::to_string(body.size()) + "\r\n\r\n" + body;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(server.Port()));
    long round_trips = 0;
    std::map<std::string, std::string> received;
    for (auto _ : state) {
        int client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        send(client, request.data(), request.size(), MSG_NOSIGNAL);
        server.AwaitAnswers(++round_trips);
        std::string answer;
        char buffer[4096];
        for (ssize_t got; (got = recv(client, buffer, sizeof(buffer), 0)) > 0;) {
            answer.append(buffer, static_cast<size_t>(got));
        }
        close(client);
        std::string pairs = answer.substr(answer.find("\r\n\r\n") + 4);
        for (size_t at = 0; at < pairs.size();) {
            size_t end = std::min(pairs.find('&', at), pairs.size());
            size_t equals = pairs.find('=', at);
            received[pairs.substr(at, equals - at)] = pairs.substr(equals + 1, end - equals - 1);
            at = end + 1;
        }
        benchmark::DoNotOptimize(received);
    }
}
BENCHMARK(BareSocketRoundTrip)->ComputeStatistics("min", Min);

// 64 KiB of pair text: words, blanks, reserved characters and UTF-8.
std::string MixedText() {
    static const char* pieces[] = {"score", " ", "caf\xC3\xA9", "&", "level=3", "/", "Grand Prix", "+", "\xE2\x82\xAC"};
    std::mt19937 random(11);
    std::string text;
    while (text.size() < 65536) {
        text += pieces[random() % 9];
    }
    return text;
}

void UrlEncode(benchmark::State& state) {
    const base_string text(MixedText().c_str());
    for (auto _ : state) {
        base_string copy = text;
        url_encode(&copy);
        benchmark::DoNotOptimize(copy.c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
}
BENCHMARK(UrlEncode)->ComputeStatistics("min", Min);

void UrlDecode(benchmark::State& state) {
    base_string encoded(MixedText().c_str());
    url_encode(&encoded);
    for (auto _ : state) {
        base_string copy = encoded;
        url_decode(&copy);
        benchmark::DoNotOptimize(copy.c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * encoded.size());
}
BENCHMARK(UrlDecode)->ComputeStatistics("min", Min);

// The peer: the same escaping written over std::string with a table of the bytes to escape.
struct EscapeTable {
    bool escape[256] = {};
    EscapeTable() {
        for (int c = 0; c < 256; c++) {
            escape[c] = c < 0x20 || c >= 0x7F ||
                        std::string("$&+,/:=?@ \"<>#%{}|\\^~[]`").find(static_cast<char>(c)) != std::string::npos;
        }
    }
};

std::string StdEncode(const std::string& text) {
    static const EscapeTable table;
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        if (table.escape[c]) {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexValue(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

std::string StdDecode(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            char c = static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            if (c != 0) {
                out += c;
            }
            i += 2;
        } else {
            out += text[i] == '+' ? ' ' : text[i];
        }
    }
    return out;
}

void StdUrlEncode(benchmark::State& state) {
    const std::string text = MixedText();
    for (auto _ : state) {
        std::string encoded = StdEncode(text);
        benchmark::DoNotOptimize(encoded.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(StdUrlEncode)->ComputeStatistics("min", Min);

void StdUrlDecode(benchmark::State& state) {
    const std::string encoded = StdEncode(MixedText());
    for (auto _ : state) {
        std::string decoded = StdDecode(encoded);
        benchmark::DoNotOptimize(decoded.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(encoded.size()));
}
BENCHMARK(StdUrlDecode)->ComputeStatistics("min", Min);

}  // namespace
