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

int Depth(const std::string& text) {
    return XmlTextParser::NestingDepth(text.c_str(), 100);
}

}  // namespace

TEST(XmlTextParser, counts_element_nesting_as_tinyxml_reads_it) {
    EXPECT_EQ(Depth(""), 0);
    EXPECT_EQ(Depth("<a/>"), 1);
    EXPECT_EQ(Depth("<a><b/><c><d x='1'/></c></a>"), 3);
    EXPECT_EQ(Depth("<?xml version=\"1.0\"?><!DOCTYPE a><a><!-- <b><c><d> --><e/></a>"), 2);
    EXPECT_EQ(Depth("<a><![CDATA[<b><c><d>]]></a>"), 1);
    EXPECT_EQ(Depth("<a title=\"<b><c>\" other='</a>'><d/></a>"), 2);
    EXPECT_EQ(Depth("<a x='/>'><b/></a>"), 2);
    EXPECT_EQ(Depth("<_a><\xC3\xA4><b/></\xC3\xA4></_a>"), 3);
}

TEST(XmlTextParser, markup_hidden_from_tinyxml_cannot_hide_nesting) {
    // End tags inside comments, values and declarations close nothing.
    EXPECT_GT(Depth(Repeat("<a><!-- </a> -->", 150)), 100);
    EXPECT_GT(Depth(Repeat("<a b=\"</a>\">", 150)), 100);
    EXPECT_GT(Depth(Repeat("<a><?xml version=\"></a>\"?>", 150)), 100);
    // A declaration ends at its first '>' outside its own quoted values.
    EXPECT_GT(Depth("<?xml version=\">\" <b x='?>" + Repeat("<a>", 150) + "'>"), 100);
    // A UTF-8 lead byte followed by markup could make tinyxml step over that markup.
    EXPECT_GT(Depth("<a>\xF0</a" + Repeat("<a>", 3)), 100);
    EXPECT_GT(Depth("<a b=\"x\xC3\"/>"), 100);
    EXPECT_GT(Depth("<a>\xE2\x82"), 100);
}

TEST(XmlTextParser, parses_ordinary_documents) {
    TiXmlDocument document;
    ASSERT_TRUE(XmlTextParser::Parse(document, "\xEF\xBB\xBF<?xml version=\"1.0\"?><!-- c --><root a=\"1\"><child/></root>"));
    ASSERT_NE(document.RootElement(), nullptr);
    EXPECT_STREQ(document.RootElement()->Value(), "root");
    EXPECT_NE(document.RootElement()->FirstChildElement("child"), nullptr);
}

TEST(XmlTextParser, refuses_broken_and_too_deep_documents_with_an_empty_document) {
    TiXmlDocument document;
    EXPECT_FALSE(XmlTextParser::Parse(document, "<a><b></a>"));
    EXPECT_EQ(document.FirstChild(), nullptr);
    EXPECT_FALSE(XmlTextParser::Parse(document, ""));

    const int limit = XmlTextParser::kMaxDepth;
    EXPECT_TRUE(XmlTextParser::Parse(document, (Repeat("<a>", limit) + Repeat("</a>", limit)).c_str()));
    EXPECT_FALSE(XmlTextParser::Parse(document, (Repeat("<a>", limit + 1) + Repeat("</a>", limit + 1)).c_str()));
    EXPECT_EQ(document.FirstChild(), nullptr);
    // Deep enough to overflow the stack if tinyxml were allowed to follow it.
    EXPECT_FALSE(XmlTextParser::Parse(document, Repeat("<a>", 1000000).c_str()));
}
