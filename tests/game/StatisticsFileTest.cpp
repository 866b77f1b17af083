// The statistics file: results kept in order, read from the user's copy, never lost to a file
// that cannot be read, and a bad entry costing only itself.
#include "game/StatisticsFile.h"
#include "tests/app/VirtualFolders.h"
#include "tests/support/FileTail.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <optional>

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

GameStatistics Result(int winner, const std::string& id1, int score1, int shots1, const std::string& id2, int score2,
                      int shots2) {
    GameStatistics result;
    result.winner = winner;
    result.player1.playerId = id1;
    result.player1.score = score1;
    result.player1.numShots = shots1;
    result.player2.playerId = id2;
    result.player2.score = score2;
    result.player2.numShots = shots2;
    return result;
}

void ExpectSame(const GameStatistics& a, const GameStatistics& b) {
    EXPECT_EQ(a.winner, b.winner);
    EXPECT_EQ(a.player1.playerId, b.player1.playerId);
    EXPECT_EQ(a.player1.score, b.player1.score);
    EXPECT_EQ(a.player1.numShots, b.player1.numShots);
    EXPECT_EQ(a.player2.playerId, b.player2.playerId);
    EXPECT_EQ(a.player2.score, b.player2.score);
    EXPECT_EQ(a.player2.numShots, b.player2.numShots);
}

std::string Entry(const std::string& winner, const std::string& score1 = "1") {
    return "<gamestats winner=\"" + winner + "\"><playerstats name=\"player1\" playerId=\"A\" score=\"" + score1 +
           "\" numShots=\"2\"/><playerstats name=\"player2\" playerId=\"B\" score=\"3\" numShots=\"4\"/></gamestats>";
}

class StatisticsFileTest : public VirtualFolders {
protected:
    void SetUp() override {
        VirtualFolders::SetUp();
        m_Log.emplace(LogFile());
    }
    std::filesystem::path UserFile() const { return UserDir() / "data/statistics.xml"; }

    StatisticsStore m_Store;
    std::optional<testing_support::FileTail> m_Log;
};

TEST_F(StatisticsFileTest, a_round_trip_keeps_the_order_and_every_winner_code) {
    m_Store.records = {Result(0, "Bubbles", 2, 7, "Sprout", 2, 5), Result(-1, "", 0, 0, "", 0, 0),
                       Result(2, "Sprout", 1, 3, "Hooligan", 4, 9), Result(1, "Hooligan", 5, 11, "Bubbles", 0, 1)};
    ASSERT_TRUE(SaveStatistics(m_Store));
    StatisticsStore loaded;
    loaded.records.push_back(Result(1, "stale", 9, 9, "stale", 9, 9));
    ASSERT_TRUE(LoadStatistics(loaded));
    ASSERT_EQ(loaded.records.size(), m_Store.records.size());
    for (size_t i = 0; i < loaded.records.size(); ++i) {
        ExpectSame(loaded.records[i], m_Store.records[i]);
    }
    EXPECT_EQ(m_Log->Text(), "");
}

// No file yet: loading gives nothing and is fine; the first save writes a document of one
// "statistics" array holding one entry.
TEST_F(StatisticsFileTest, without_a_file_the_first_save_writes_one_entry) {
    m_Store.records.push_back(Result(1, "x", 1, 1, "y", 2, 2));
    ASSERT_TRUE(LoadStatistics(m_Store));
    EXPECT_TRUE(m_Store.records.empty());
    m_Store.records.push_back(Result(2, "Bubbles", 0, 3, "Sprout", 3, 6));
    ASSERT_TRUE(SaveStatistics(m_Store));
    TiXmlDocument document;
    ASSERT_TRUE(document.Parse(ReadFile(UserFile()).c_str()));
    const TiXmlElement* root = document.RootElement();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ValueStr(), "array");
    EXPECT_STREQ(root->Attribute("name"), "statistics");
    ASSERT_NE(root->FirstChildElement("gamestats"), nullptr);
    EXPECT_EQ(root->FirstChildElement("gamestats")->NextSiblingElement(), nullptr);
    EXPECT_STREQ(root->FirstChildElement("gamestats")->Attribute("winner"), "2");
}

// Only the user's copy is read: a file of that name elsewhere on the search path is not theirs.
TEST_F(StatisticsFileTest, only_the_users_copy_is_read) {
    WriteFile(GameDir() / "data/statistics.xml", "<array name=\"statistics\">" + Entry("1") + "</array>");
    ASSERT_TRUE(LoadStatistics(m_Store));
    EXPECT_TRUE(m_Store.records.empty());
    WriteFile(UserFile(), "<resource><array name=\"statistics\">" + Entry("2") + "</array></resource>");
    ASSERT_TRUE(LoadStatistics(m_Store));
    ASSERT_EQ(m_Store.records.size(), 1u);
    EXPECT_EQ(m_Store.records[0].winner, 2);
}

// A file that cannot be read as statistics is kept beside the new one, never written over.
TEST_F(StatisticsFileTest, a_file_that_cannot_be_read_is_moved_aside_and_kept) {
    const std::string broken[] = {"<array name=\"statistics\"><gamestats winner=\"1\">", "not xml at all",
                                  "<resource><array name=\"other\"/></resource>"};
    for (size_t i = 0; i < std::size(broken); ++i) {
        SCOPED_TRACE(broken[i]);
        WriteFile(UserFile(), broken[i]);
        EXPECT_FALSE(LoadStatistics(m_Store));
        EXPECT_TRUE(m_Store.records.empty());
        EXPECT_FALSE(std::filesystem::exists(UserFile()));
        const std::string aside = i == 0 ? ".bad" : ".bad" + std::to_string(i);
        EXPECT_EQ(ReadFile(UserDir() / ("data/statistics.xml" + aside)), broken[i]);
        m_Store.records.push_back(Result(0, "a", 1, 1, "b", 1, 1));
        ASSERT_TRUE(SaveStatistics(m_Store));
        EXPECT_TRUE(LoadStatistics(m_Store));
        EXPECT_EQ(m_Store.records.size(), 1u);
    }
    EXPECT_EQ(m_Log->Count("LoadStatistics: /userfolder/data/statistics.xml cannot be read as statistics"), 3);
}

// Entries that are not whole results are skipped, and only they.
TEST_F(StatisticsFileTest, a_bad_entry_loses_only_itself) {
    const std::string missingPlayer =
        "<gamestats winner=\"1\"><playerstats name=\"player1\" score=\"1\" numShots=\"1\"/></gamestats>";
    WriteFile(UserFile(), "<array name=\"statistics\">" + Entry("1", "10") + Entry("x") + Entry("2", "11") +
                              Entry("7") + "<other winner=\"1\"/>" + missingPlayer + Entry("0", "many") +
                              "<!-- a note -->" + Entry("-1", "12") + "</array>");
    ASSERT_TRUE(LoadStatistics(m_Store));
    ASSERT_EQ(m_Store.records.size(), 3u);
    EXPECT_EQ(m_Store.records[0].player1.score, 10);
    EXPECT_EQ(m_Store.records[1].player1.score, 11);
    EXPECT_EQ(m_Store.records[2].player1.score, 12);
    EXPECT_EQ(m_Store.records[2].winner, -1);
    EXPECT_EQ(m_Log->Count("LoadStatistics: 5 entries of /userfolder/data/statistics.xml are not match results"), 1);
}

// A name that is not UTF-8 text (a byte the XML library would read back as something else) is
// kept with its bad bytes replaced, so that the entry survives the next save and load.
TEST_F(StatisticsFileTest, a_name_that_is_not_utf8_text_keeps_its_entry_through_a_save) {
    WriteFile(UserFile(),
              "<array name=\"statistics\"><gamestats winner=\"1\"><playerstats name=\"player1\" "
              "playerId=\"B\xe0"
              "b\xc3\xa9\" score=\"3\" numShots=\"7\"/><playerstats name=\"player2\" "
              "playerId=\"\x8f"
              "x\" score=\"1\" numShots=\"4\"/></gamestats></array>");
    ASSERT_TRUE(LoadStatistics(m_Store));
    ASSERT_EQ(m_Store.records.size(), 1u);
    EXPECT_EQ(m_Store.records[0].player1.playerId, "B?b\xc3\xa9");
    EXPECT_EQ(m_Store.records[0].player2.playerId, "?x");
    ASSERT_TRUE(SaveStatistics(m_Store));
    StatisticsStore again;
    ASSERT_TRUE(LoadStatistics(again));
    ASSERT_EQ(again.records.size(), 1u);
    ExpectSame(again.records[0], m_Store.records[0]);
}

// A save that cannot be stored reports it and leaves the old file as it was.
TEST_F(StatisticsFileTest, a_save_that_fails_reports_it_and_keeps_the_old_file) {
    m_Store.records.push_back(Result(1, "a", 3, 1, "b", 0, 1));
    m_Store.fileName = "data/statistics.xml/inside.xml";
    WriteFile(UserFile(), "kept");
    EXPECT_FALSE(SaveStatistics(m_Store));
    EXPECT_EQ(ReadFile(UserFile()), "kept");
    EXPECT_EQ(m_Log->Count("SaveStatistics: the statistics were not saved to data/statistics.xml/inside.xml"), 1);
}

}  // namespace
