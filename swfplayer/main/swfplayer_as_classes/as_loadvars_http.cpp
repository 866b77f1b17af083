#include "swfplayer/base/url_escape.h"
#include "swfplayer/main/swfplayer_as_classes/as_loadvars.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace swfplayer {

namespace {

constexpr char url_prefix[] = "http://";
constexpr int default_port = 80;

// Whether text holds a blank or a control byte, which no host or path may hold: they would end
// or break the request line.
bool has_unsafe_byte(const char* text, size_t length) {
    for (size_t i = 0; i < length; i++) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x21 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

// The port written after a host: 1 to 65535 in decimal digits, else 0.
int parse_port(const char* text, size_t length) {
    int port = 0;
    for (size_t i = 0; i < length; i++) {
        if (text[i] < '0' || text[i] > '9' || port > 65535) {
            return 0;
        }
        port = port * 10 + (text[i] - '0');
    }
    return port <= 65535 ? port : 0;
}

bool split_url(const char* url, base_string* authority, base_string* host, int* port, base_string* path) {
    const char* start = std::strncmp(url, url_prefix, sizeof(url_prefix) - 1) == 0 ? url + sizeof(url_prefix) - 1 : url;
    const char* slash = std::strchr(start, '/');
    if (slash == nullptr || slash == start || has_unsafe_byte(start, std::strlen(start))) {
        return false;
    }
    const size_t authority_length = static_cast<size_t>(slash - start);
    const char* colon = static_cast<const char*>(std::memchr(start, ':', authority_length));
    const size_t host_length = colon ? static_cast<size_t>(colon - start) : authority_length;
    *port = colon ? parse_port(colon + 1, authority_length - host_length - 1) : default_port;
    if (host_length == 0 || *port == 0) {
        return false;
    }
    *authority = base_string(start, static_cast<int>(authority_length));
    *host = base_string(start, static_cast<int>(host_length));
    *path = slash;
    return true;
}

}  // namespace

bool as_loadvars::parse_url(const char* url, base_string* authority, base_string* host, int* port, base_string* path) {
    if (url == nullptr || !split_url(url, authority, host, port, path)) {
        std::fprintf(stderr, "invalid url '%s'\n", url ? url : "");
        return false;
    }
    return true;
}

base_string as_loadvars::create_vars_string(const string_table& table) {
    std::string vars;
    for (const auto& pair : table) {
        base_string name = pair.first;
        base_string value = pair.second;
        url_encode(&name);
        url_encode(&value);
        vars += vars.empty() ? "" : "&";
        vars += name.c_str();
        vars += "=";
        vars += value.c_str();
    }
    return base_string(vars.c_str());
}

base_string as_loadvars::create_header(const string_table& headers) {
    std::string lines;
    for (const auto& header : headers) {
        lines += header.first.c_str();
        lines += ": ";
        lines += header.second.c_str();
        lines += "\r\n";
    }
    return base_string(lines.c_str());
}

base_string as_loadvars::create_request(const char* method, const base_string& authority,
                                        const base_string& path) const {
    const base_string vars = create_vars_string(m_values);
    const bool post = std::strcmp(method, "POST") == 0;
    string_table headers = m_headers;
    headers.set("Host", authority);
    headers.set("Connection", "close");
    std::string request;
    if (post) {
        headers.set("Content-Length", std::to_string(vars.size()).c_str());
        request = std::string("POST ") + path.c_str() + " HTTP/1.1\r\n";
    } else {
        request = std::string("GET ") + path.c_str() + "?" + vars.c_str() + " HTTP/1.1\r\n";
    }
    request += create_header(headers).c_str();
    request += "\r\n";
    if (post) {
        request += vars.c_str();
    }
    return base_string(request.c_str());
}

void as_loadvars::parse(const char* text, string_table* received) {
    for (const char* piece = text; piece && *piece;) {
        const char* end = std::strchr(piece, '&');
        const size_t length = end ? static_cast<size_t>(end - piece) : std::strlen(piece);
        if (length > 0) {
            const char* equals = static_cast<const char*>(std::memchr(piece, '=', length));
            if (equals == nullptr) {
                return;
            }
            base_string name(piece, static_cast<int>(equals - piece));
            base_string value(equals + 1, static_cast<int>(length - static_cast<size_t>(equals + 1 - piece)));
            url_decode(&name);
            url_decode(&value);
            received->set(name, value);
        }
        piece = end ? end + 1 : nullptr;
    }
}

}  // namespace swfplayer
