#include "serializeme/XmlTextParser.h"

#include <gtest/gtest.h>

#include <string>

using sme::XmlTextParser;

namespace {

// That many attributes with names that are all different, as tinyxml requires of one element.
std::string Attributes(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += " a" + std::to_string(i) + "=\"\"";
    }
    return text;
}

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

// A refused text (broken, or one level too deep) leaves an empty document, not the part tinyxml
// read before it gave up.
TEST(XmlTextParser, parses_ordinary_documents_and_refuses_broken_and_too_deep_ones) {
    const int limit = XmlTextParser::kMaxDepth;
    const std::string ordinary = "<?xml version=\"1.0\"?><!-- c --><root a=\"1\"><child/></root>";
    const std::pair<std::string, const char*> cases[] = {
        {ordinary, "root/child"},
        {"\xEF\xBB\xBF" + ordinary, "root/child"},  // a byte order mark
        {Repeat("<a>", limit) + Repeat("</a>", limit), "a/a"},
        {"<a><b></a>", ""},
        {Repeat("<a>", limit + 1) + Repeat("</a>", limit + 1), ""},
    };
    for (const auto& [text, shape] : cases) {
        TiXmlDocument document;
        EXPECT_EQ(XmlTextParser::Parse(document, text.c_str()), *shape != '\0') << text.substr(0, 40);
        const TiXmlElement* root = document.RootElement();
        const TiXmlElement* child = root ? root->FirstChildElement() : nullptr;
        EXPECT_EQ(root ? std::string(root->Value()) + "/" + (child ? child->Value() : "") : "", shape);
        EXPECT_EQ(document.FirstChild() == nullptr, *shape == '\0');
    }
}

// Every attribute tinyxml reads has its '=' outside the quoted values of its start tag; an
// unquoted value may hold one more. The count is per element, not per document.
TEST(XmlTextParser, counts_the_most_attributes_of_one_element_as_tinyxml_reads_them) {
    const int limit = 10;
    const std::pair<std::string, int> cases[] = {
        {"", 0},
        {"<a/>", 0},
        {"<a b='1' c=\"2\"/>", 2},
        {"<a b = '1'\n c\t=\"2\" d='3'>e = 4</a>", 3},
        {"<a b='x=y' c=\"=>/>\"><d e='1'/></a>", 2},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE a=b><a><!-- <b c='1' d='2'> --></a>", 0},
        {"<a><![CDATA[<b c='1' d='2'>]]></a>", 0},
        {"<a b=x=y/>", 2},
        {Repeat("<a" + Repeat(" b=''", limit) + "/>", 3), limit},
        {"<a><b" + Repeat(" c=''", limit + 1) + "/></a>", limit + 1},
        // Where the elements cannot be told, neither can the attributes.
        {"<a b=\"x\xC3\"/>", limit + 1},
    };
    for (const auto& [text, attributes] : cases) {
        EXPECT_EQ(XmlTextParser::MostAttributes(text.c_str(), limit), attributes) << text.substr(0, 60);
    }
}

// The parser says why it refused a text, for the log line that names the file; the bound itself
// is taken.
TEST(XmlTextParser, a_refusal_says_why) {
    const int bound = XmlTextParser::kMaxAttributes;
    const int depth = XmlTextParser::kMaxDepth;
    TiXmlDocument document;
    std::string error = "untouched";
    EXPECT_TRUE(XmlTextParser::Parse(document, ("<a" + Attributes(bound) + "/>").c_str(), &error));
    EXPECT_EQ(error, "untouched");
    const std::pair<std::string, std::string> refusals[] = {
        {"<a" + Attributes(bound + 1) + "/>", "an element has more than " + std::to_string(bound) + " attributes"},
        {Repeat("<a>", depth + 1), "elements nest more than " + std::to_string(depth) + " deep"},
        {"<a>\xE2</a>", "a UTF-8 sequence runs into markup"},
    };
    for (const auto& [text, why] : refusals) {
        EXPECT_FALSE(XmlTextParser::Parse(document, text.c_str(), &error)) << text.substr(0, 40);
        EXPECT_EQ(error, why);
        EXPECT_EQ(document.FirstChild(), nullptr);
    }
    // tinyxml's own errors in its own words.
    EXPECT_FALSE(XmlTextParser::Parse(document, "<a><b></a>", &error));
    EXPECT_TRUE(document.Error());
    EXPECT_EQ(error, document.ErrorDesc());
}
