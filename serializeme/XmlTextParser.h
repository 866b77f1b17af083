#pragma once

#include <tinyxml.h>

#include <string>

namespace sme {

// Parses XML text into a tinyxml document, refusing text whose elements nest deeper than
// tinyxml's recursive parser, copier, printer and destructor can safely follow on the stack, and
// text with more attributes on one element than tinyxml reads and copies quickly: it compares
// each new attribute with every earlier one of its element, so an element's cost grows with the
// square of its attributes (60,000 on one element took a minute).
class XmlTextParser {
public:
    // The deepest element nesting accepted; the game's own files stay far below it.
    static constexpr int kMaxDepth = 256;
    // The most attributes accepted on one element. The game's own records have at most 15 and a
    // drawing program's outline files a few dozen; at this bound a file of elements that all
    // have it costs less than twice what a file of the same length in one-attribute elements does.
    static constexpr int kMaxAttributes = 64;

    // Parses the NUL-terminated text into the document (default encoding; a leading UTF-8 BOM
    // is skipped). False, with the document emptied, when the text may nest too deeply, has an
    // element with too many attributes, or tinyxml reports an error; error, when given, then
    // says which, for the caller's log line that names the file.
    static bool Parse(TiXmlDocument& document, const char* text, std::string* error = nullptr);

    // The deepest element nesting that tinyxml could build from the text, found by reading the
    // text as tinyxml does: comments, CDATA sections, declarations, unknown nodes and quoted
    // attribute values hold no elements. Gives limit + 1 as soon as the depth exceeds the limit,
    // and also for text where a UTF-8 lead byte is followed, within its sequence, by markup or
    // the end of the text: tinyxml may step over those bytes while reading text, so the
    // nesting could not be told.
    static int NestingDepth(const char* text, int limit);
    // The most attributes on one element that tinyxml could read from the text, counted as the
    // '=' signs outside the quoted values of each start tag (an unquoted value may hold one
    // more, never less). Gives limit + 1 as soon as one element exceeds the limit, and for text
    // whose nesting could not be told.
    static int MostAttributes(const char* text, int limit);
};

}  // namespace sme
