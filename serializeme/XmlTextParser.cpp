#include "serializeme/XmlTextParser.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace sme {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// tinyxml counts every byte from 127 up as a letter.
bool IsNameStart(char c) {
    return IsAsciiLetter(c) || c == '_' || static_cast<unsigned char>(c) >= 127;
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ':';
}

bool StartsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool StartsWithIgnoringCase(const char* text, const char* prefix) {
    for (; *prefix != '\0'; ++text, ++prefix) {
        const char c = IsAsciiLetter(*text) ? static_cast<char>(*text | 0x20) : *text;
        if (c != *prefix) {
            return false;
        }
    }
    return true;
}

const char* SkipSpace(const char* p) {
    while (IsSpace(*p)) {
        ++p;
    }
    return p;
}

// The position just after the terminator, or null when the text ends first (tinyxml then stops
// and builds nothing beyond this point). Found from its first character on: a sanitizer build
// checks the whole rest of the text at each strstr, which made a long file's scan quadratic.
const char* SkipPast(const char* p, const char* terminator) {
    const size_t length = std::strlen(terminator);
    for (p = std::strchr(p, terminator[0]); p != nullptr; p = std::strchr(p + 1, terminator[0])) {
        if (std::strncmp(p, terminator, length) == 0) {
            return p + length;
        }
    }
    return nullptr;
}

// Past a quoted value that starts at p; null when the quote is never closed.
const char* SkipQuoted(const char* p) {
    const char* close = std::strchr(p + 1, *p);
    return close != nullptr ? close + 1 : nullptr;
}

// Whether tinyxml, reading text in UTF-8, could step over markup or the text's end: it takes a
// lead byte and the bytes its sequence claims in one step, whatever those bytes are.
bool HasAmbiguousSequence(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        const auto lead = static_cast<unsigned char>(*p);
        if (lead < 0xC0) {
            continue;
        }
        const int length = lead < 0xE0 ? 2 : (lead < 0xF0 ? 3 : 4);
        for (int i = 1; i < length; ++i) {
            const char c = p[i];
            if (c == '\0' || c == '<' || c == '>' || c == '/' || c == '"' || c == '\'') {
                return true;
            }
        }
    }
    return false;
}

// Past an "<?xml" declaration as tinyxml reads it: up to the first '>' outside the quoted
// values of its version, encoding and standalone attributes. Null where tinyxml stops with an
// error.
const char* SkipDeclaration(const char* p) {
    p += 5;
    while (*p != '\0') {
        if (*p == '>') {
            return p + 1;
        }
        p = SkipSpace(p);
        if (StartsWithIgnoringCase(p, "version") || StartsWithIgnoringCase(p, "encoding") ||
            StartsWithIgnoringCase(p, "standalone")) {
            while (IsNameChar(*p)) {
                ++p;
            }
            p = SkipSpace(p);
            if (*p != '=') {
                return nullptr;
            }
            p = SkipSpace(p + 1);
            if (*p == '"' || *p == '\'') {
                p = SkipQuoted(p);
                if (p == nullptr) {
                    return nullptr;
                }
            } else {
                for (; *p != '\0' && !IsSpace(*p) && *p != '/' && *p != '>'; ++p) {
                    if (*p == '"' || *p == '\'') {
                        return nullptr;
                    }
                }
            }
        } else {
            while (*p != '\0' && *p != '>' && !IsSpace(*p)) {
                ++p;
            }
        }
    }
    return nullptr;
}

// A limit no text reaches, with room for the scan's limit + 1.
constexpr int kNoLimit = std::numeric_limits<int>::max() - 1;

// What a scan of the text found, each figure capped at its limit + 1, where the scan stops.
struct Shape {
    int depth = 0;           // the deepest element nesting
    int attributes = 0;      // the most attributes on one element
    bool ambiguous = false;  // the elements could not be told (both figures are then over)
};

// Reads the text as tinyxml does: comments, CDATA sections, declarations, unknown nodes and quoted
// attribute values hold no elements. Every attribute tinyxml reads has its '=' outside the
// quoted values of its start tag, so counting those signs never counts fewer attributes than
// tinyxml would read (an unquoted value may hold one more).
Shape Scan(const char* text, int depthLimit, int attributeLimit) {
    if (HasAmbiguousSequence(text)) {
        return {depthLimit + 1, attributeLimit + 1, true};
    }
    Shape shape;
    int depth = 0;
    const char* p = text;
    while (p != nullptr && (p = std::strchr(p, '<')) != nullptr) {
        if (StartsWith(p, "<!--")) {
            p = SkipPast(p + 4, "-->");
        } else if (StartsWith(p, "<![CDATA[")) {
            p = SkipPast(p + 9, "]]>");
        } else if (StartsWithIgnoringCase(p, "<?xml")) {
            p = SkipDeclaration(p);
        } else if (p[1] == '/') {
            depth = depth > 0 ? depth - 1 : 0;
            p = SkipPast(p + 2, ">");
        } else if (IsNameStart(p[1])) {
            if (++depth > shape.depth) {
                shape.depth = depth;
                if (shape.depth > depthLimit) {
                    return shape;
                }
            }
            // The start tag runs to its '>'; quoted attribute values may hold '>' and "/>".
            int attributes = 0;
            ++p;
            while (p != nullptr && *p != '>') {
                if (*p == '\0') {
                    p = nullptr;
                } else if (*p == '"' || *p == '\'') {
                    p = SkipQuoted(p);
                } else if (p[0] == '/' && p[1] == '>') {
                    --depth;
                    ++p;
                } else {
                    if (*p == '=' && ++attributes > attributeLimit) {
                        shape.attributes = attributes;
                        return shape;
                    }
                    ++p;
                }
            }
            shape.attributes = std::max(shape.attributes, attributes);
            if (p != nullptr) {
                ++p;
            }
        } else {
            // Document types and anything else tinyxml keeps as an unknown node end at the
            // first '>'.
            p = SkipPast(p + 1, ">");
        }
    }
    return shape;
}

}  // namespace

int XmlTextParser::NestingDepth(const char* text, int limit) {
    return Scan(text, limit, kNoLimit).depth;
}

int XmlTextParser::MostAttributes(const char* text, int limit) {
    return Scan(text, kNoLimit, limit).attributes;
}

bool XmlTextParser::Parse(TiXmlDocument& document, const char* text, std::string* error) {
    document.Clear();
    document.ClearError();
    const Shape shape = Scan(text, kMaxDepth, kMaxAttributes);
    std::string refusal;
    if (shape.ambiguous) {
        refusal = "a UTF-8 sequence runs into markup";
    } else if (shape.depth > kMaxDepth) {
        refusal = "elements nest more than " + std::to_string(kMaxDepth) + " deep";
    } else if (shape.attributes > kMaxAttributes) {
        refusal = "an element has more than " + std::to_string(kMaxAttributes) + " attributes";
    } else {
        document.Parse(text);
        if (!document.Error()) {
            return true;
        }
        refusal = document.ErrorDesc();
    }
    if (error != nullptr) {
        *error = refusal;
    }
    document.Clear();
    return false;
}

}  // namespace sme
