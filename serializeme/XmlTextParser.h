#pragma once

#include <tinyxml.h>

namespace sme {

// Parses XML text into a tinyxml document, refusing text whose elements nest deeper than
// tinyxml's recursive parser, copier, printer and destructor can safely follow on the stack.
class XmlTextParser {
public:
    // The deepest element nesting accepted; the game's own files stay far below it.
    static constexpr int kMaxDepth = 256;

    // Parses the NUL-terminated text into the document (default encoding; a leading UTF-8 BOM
    // is skipped). False, with the document emptied, when the text may nest too deeply or
    // tinyxml reports an error.
    static bool Parse(TiXmlDocument& document, const char* text);

    // The deepest element nesting that tinyxml could build from the text, found by reading the
    // text as tinyxml does: comments, CDATA sections, declarations, unknown nodes and quoted
    // attribute values hold no elements. Gives limit + 1 as soon as the depth exceeds the limit,
    // and also for text where a UTF-8 lead byte is followed, within its sequence, by markup or
    // the end of the text: tinyxml may step over those bytes while reading text, so the
    // nesting could not be told.
    static int NestingDepth(const char* text, int limit);
};

}  // namespace sme
