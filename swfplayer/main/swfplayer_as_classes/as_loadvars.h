#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/hash.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/swfplayer_as_classes/as_loadvars_request.h"

#include <memory>
#include <vector>

namespace swfplayer {

struct fn_call;

// LoadVars: name/value pairs sent to an HTTP/1.1 server as a URL-encoded query or body, and the
// pairs of the server's answer read back. Script members other than onData, onHTTPStatus and
// onLoad are the pairs themselves. An exchange reports onHTTPStatus(status), onLoad(success)
// and onData(content) to its target. While any exchange is pending the object takes the
// player's frame tick, which reads what each exchange has received.
class as_loadvars : public as_object {
public:
    typedef hash<base_string, base_string> string_table;

    explicit as_loadvars(player* owner);
    ~as_loadvars() override;

    bool is(int class_id) const override { return class_id == AS_LOADVARS || as_object::is(class_id); }
    // The pairs set by script first, then the pairs received (both as strings), then the
    // object's own members.
    bool get_member(const base_stringi& name, as_value* value) override;
    // onData, onHTTPStatus and onLoad (in any case) are members; any other name stores the
    // value's text as a pair.
    bool set_member(const base_stringi& name, const as_value& value) override;
    void advance(float dt) override;

    // Sends a request by method ("GET" or "POST") to url; target (a LoadVars or null) gets the
    // answer's events and pairs. On failure told (when not null) gets onLoad(false). True when
    // the request was written.
    bool start_request(const char* method, const char* url, as_loadvars* target, as_object* told);
    // Adds or replaces a header of every later request; false (logged) for a header that could
    // break the request: a name that is empty or holds ':', blanks or control bytes, a value
    // that holds a line end, or Host, Content-Length or Connection, which each request sets.
    bool add_request_header(const base_string& name, const base_string& value);
    // Parses pairs into the received table.
    void decode(const char* text) { parse(text, &m_received); }

    const string_table& get_headers() const { return m_headers; }
    const string_table& get_values() const { return m_values; }
    const string_table& get_received() const { return m_received; }
    int get_request_count() const { return static_cast<int>(m_requests.size()); }

    // The HTTP side (as_loadvars_http.cpp).
    // Splits url ("http://" is optional) into the host with its optional ":port", the port
    // (80 by default) and the path from the first "/". False, with "invalid url '%s'\n" on
    // standard error, when there is no "/", the host is empty, the port is not 1 to 65535 or
    // the host or path holds a blank or a control byte.
    static bool parse_url(const char* url, base_string* authority, base_string* host, int* port, base_string* path);
    // The pairs of table as "name=value" joined by "&", names and values URL-encoded.
    static base_string create_vars_string(const string_table& table);
    // "name: value\r\n" for each header.
    static base_string create_header(const string_table& headers);
    // The whole request: the request line, the headers with Host (authority), Connection and,
    // for POST, Content-Length, an empty line, and for POST the pairs as the body. GET sends
    // the pairs as the query.
    base_string create_request(const char* method, const base_string& authority, const base_string& path) const;
    // Splits text at "&" into name=value pieces, URL-decodes both and stores them; empty pieces
    // are skipped and a piece without "=" ends the parsing.
    static void parse(const char* text, string_table* received);

private:
    // Tells the exchange's target how it ended.
    void finish(as_loadvars_request* request);

    string_table m_headers;
    string_table m_values;
    string_table m_received;
    std::vector<std::unique_ptr<as_loadvars_request>> m_requests;
};

// new LoadVars(): an object with the three default headers.
void as_global_loadvars_ctor(const fn_call& fn);

}  // namespace swfplayer
