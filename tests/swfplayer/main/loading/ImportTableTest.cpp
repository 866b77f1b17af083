#include "swfplayer/main/loading/movie_def_impl.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"

#include <string>
#include <vector>

namespace swf_testing {

using swfplayer::movie_def_impl;
using swfplayer::smart_ptr;

class ImportTableTest : public SwfLoadingFixture {};

// Collects the source urls it is shown.
class url_collector : public movie_def_impl::import_visitor {
public:
    void visit(const swfplayer::base_string& source_url) override { urls.push_back(source_url.c_str()); }
    std::vector<std::string> urls;
};

TEST_F(ImportTableTest, waiting_imports_are_listed_once_per_source_and_reported_on_lookup) {
    smart_ptr<movie_def_impl> def = new movie_def_impl(m_player.get_ptr(), 0, 0);
    def->add_import("lib.swf", 3, "a");
    def->add_import("other.swf", 4, "b");
    def->add_import("LIB.SWF", 5, "c");
    ClearLog();
    def->add_import("lib.swf", 3, "again");
    EXPECT_EQ(CountLogged("character 3 is already waiting"), 1);
    for (int id : {3, 4, 5}) {
        EXPECT_TRUE(def->in_import_table(id)) << id;
    }
    EXPECT_FALSE(def->in_import_table(6));

    url_collector collector;
    def->visit_imported_movies(&collector);
    EXPECT_EQ(collector.urls, (std::vector<std::string>{"lib.swf", "other.swf"}));

    ClearLog();
    EXPECT_EQ(def->get_character_def(4), nullptr);
    EXPECT_EQ(def->get_font(5), nullptr);
    EXPECT_EQ(def->get_character_def(6), nullptr);
    EXPECT_EQ(Log(), (std::vector<std::string>{"get_character_def(): character_id 4 is still waiting to be imported\n",
                                               "get_font(): font_id 5 is still waiting to be imported\n"}));
}

}  // namespace swf_testing
