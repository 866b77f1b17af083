#include "serializeme/XmlTextParser.h"

#include <gtest/gtest.h>

#include <string>

using sme::XmlTextParser;

namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

}  // namespace

TEST(XmlTextParser, counts_element_nesting_as_tinyxml_reads_it) {
    const int limit = 100;
    const std::pair<std::string, int> cases[] = {
        {"", 0},
        {"<a/>", 1},
        {"<a><b/><c><d x='1'/></c></a>", 3},
        {"<?xml version=\"1.0\"?><!DOCTYPE a><a><!-- <b><c><d> --><e/></a>", 2},
        {"<a><![CDATA[<b><c><d>]]></a>", 1},
        {"<a title=\"<b><c>\" other='</a>'><d/></a>", 2},
        {"<a x='/>'><b/></a>", 2},
        {"<_a><\xC3\xA4><b/></\xC3\xA4></_a>", 3},
        {"<a>\xF0\x9F\x98\x80</a>", 1},
        // End tags inside comments, values and declarations close nothing.
        {Repeat("<a><!-- </a> -->", 150), limit + 1},
        {Repeat("<a b=\"</a>\">", 150), limit + 1},
        {Repeat("<a><?xml version=\"></a>\"?>", 150), limit + 1},
        // A declaration ends at its first '>' outside its own quoted values.
        {"<?xml version=\">\" <b x='?>" + Repeat("<a>", 150) + "'>", limit + 1},
        // A UTF-8 lead byte followed by markup could make tinyxml step over that markup.
        {"<a>\xF0</a" + Repeat("<a>", 3), limit + 1},
        {"<a b=\"x\xC3\"/>", limit + 1},
        {"<a>\xE2\x82", limit + 1},
    };
    for (const auto& [text, depth] : cases) {
        EXPECT_EQ(XmlTextParser::NestingDepth(text.c_str(), limit), depth) << text.substr(0, 60);
    }
}

TEST(XmlTextParser, parses_ordinary_documents_with_or_without_a_byte_order_mark) {
    for (const char* bom : {"", "\xEF\xBB\xBF"}) {
        TiXmlDocument document;
        const std::string text = std::string(bom) + "<?xml version=\"1.0\"?><!-- c --><root a=\"1\"><child/></root>";
        ASSERT_TRUE(XmlTextParser::Parse(document, text.c_str()));
        ASSERT_NE(document.RootElement(), nullptr);
        EXPECT_STREQ(document.RootElement()->Value(), "root");
        EXPECT_NE(document.RootElement()->FirstChildElement("child"), nullptr);
    }
}

TEST(XmlTextParser, refuses_broken_and_too_deep_documents_with_an_empty_document) {
    const int limit = XmlTextParser::kMaxDepth;
    TiXmlDocument document;
    EXPECT_TRUE(XmlTextParser::Parse(document, (Repeat("<a>", limit) + Repeat("</a>", limit)).c_str()));
    // Broken, empty, one level too deep, and deep enough to overflow the stack if tinyxml
    // were allowed to follow it.
    for (const std::string& text : {std::string("<a><b></a>"), std::string(),
                                    Repeat("<a>", limit + 1) + Repeat("</a>", limit + 1), Repeat("<a>", 1000000)}) {
        EXPECT_FALSE(XmlTextParser::Parse(document, text.c_str())) << text.substr(0, 40);
        EXPECT_EQ(document.FirstChild(), nullptr);
    }
}
