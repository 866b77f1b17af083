// The statistics file: results kept in order, read from the user's copy, never lost to a file
// that cannot be read, and no entry ever dropped.
#include "app/XmlFileOutput.h"
#include "game/StatisticsFile.h"
#include "tests/app/VirtualFolders.h"
#include "tests/support/BoundedRun.h"
#include "tests/support/FileTail.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/SpecialFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tinyxml.h>

#include <chrono>
#include <optional>

namespace {

using namespace std::chrono_literals;
using testing_support::BecomeOrdinaryUser;
using testing_support::BoundedRun;
using testing_support::ReadFile;
using testing_support::Require;
using testing_support::RunBounded;
using testing_support::WriteFile;

constexpr size_t kMegabyte = 1024 * 1024;

std::string Statistics(const std::string& entries) {
    return "<array name=\"statistics\">" + entries + "</array>";
}

// That many attributes with names that are all different, as tinyxml requires of one element.
std::string Attributes(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += " a" + std::to_string(i) + "=\"\"";
    }
    return text;
}

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

// An entry without a winner, whose players are read as usual.
const std::string kNoWinner =
    "<gamestats><playerstats name=\"player1\" playerId=\"A\" score=\"5\" numShots=\"6\"/><playerstats "
    "name=\"player2\" playerId=\"B\" score=\"7\" numShots=\"8\"/></gamestats>";

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

// A file that cannot be read as statistics and finds no free name to be moved aside under (the
// 1,000 names taken by earlier copies) stays where it is and is never written over.
TEST_F(StatisticsFileTest, a_file_that_cannot_be_moved_aside_is_never_written_over) {
    for (int number = 0; number < 1000; ++number) {
        WriteFile(UserDir() / ("data/statistics.xml.bad" + (number == 0 ? std::string() : std::to_string(number))),
                  "earlier");
    }
    WriteFile(UserFile(), "not xml at all");
    EXPECT_FALSE(LoadStatistics(m_Store));
    m_Store.records.push_back(Result(1, "a", 1, 1, "b", 0, 0));
    EXPECT_FALSE(SaveStatistics(m_Store));
    EXPECT_EQ(ReadFile(UserFile()), "not xml at all");
    EXPECT_EQ(ReadFile(UserDir() / "data/statistics.xml.bad999"), "earlier");
    EXPECT_EQ(m_Log->Count("LoadStatistics: no free name to move"), 1);
    EXPECT_EQ(m_Log->Count("SaveStatistics: data/statistics.xml could not be read, so it is not written over"), 1);
}

// Every element of the array is a result, and a load, an append and a save keep every one: what
// is missing or is not a number reads as the records' default, a winner code the game does not
// know is kept as it is, and an element of another name is read as a result too.
TEST_F(StatisticsFileTest, every_entry_is_kept_through_an_append_and_a_save) {
    const std::string missingPlayer =
        "<gamestats winner=\"1\"><playerstats name=\"player1\" score=\"1\" numShots=\"1\"/></gamestats>";
    const std::string textForShots =
        "<gamestats winner=\"1\"><playerstats name=\"player2\" score=\"1\" numShots=\"few\"/></gamestats>";
    const std::string entries[] = {
        Entry("1", "10"), Entry("x"), Entry("7"),         Entry("-5"),  Entry("4294967297"), "<other winner=\"2\"/>",
        missingPlayer,    kNoWinner,  Entry("0", "many"), textForShots, Entry("-1", "12")};
    std::string all;
    for (const std::string& entry : entries) {
        all += entry + "<!-- a note -->";
    }
    WriteFile(UserFile(), Statistics(all));
    const std::vector<GameStatistics> expected = {
        Result(1, "A", 10, 2, "B", 3, 4), Result(-1, "A", 1, 2, "B", 3, 4),  Result(7, "A", 1, 2, "B", 3, 4),
        Result(-5, "A", 1, 2, "B", 3, 4), Result(-1, "A", 1, 2, "B", 3, 4),  Result(2, "", 0, 0, "", 0, 0),
        Result(1, "", 1, 1, "", 0, 0),    Result(-1, "A", 5, 6, "B", 7, 8),  Result(0, "A", 0, 2, "B", 3, 4),
        Result(1, "", 0, 0, "", 1, 0),    Result(-1, "A", 12, 2, "B", 3, 4), Result(2, "G", 0, 1, "H", 4, 2)};
    ASSERT_TRUE(LoadStatistics(m_Store));
    ASSERT_EQ(m_Store.records.size(), std::size(entries));
    m_Store.records.push_back(expected.back());
    ASSERT_TRUE(SaveStatistics(m_Store));
    StatisticsStore again;
    ASSERT_TRUE(LoadStatistics(again));
    ASSERT_EQ(again.records.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i < std::size(entries) ? entries[i] : "appended");
        ExpectSame(m_Store.records[i], expected[i]);
        ExpectSame(again.records[i], expected[i]);
    }
    EXPECT_EQ(m_Log->Text(), "");
}

// An entry is read with the records' defaults for the keys it lacks ("winner" -1, "score" and
// "numShots" 0) and kept whole by the next save.
TEST_F(StatisticsFileTest, entries_missing_a_key_load_with_the_defaults_and_survive_a_save) {
    const std::string noScore =
        "<gamestats winner=\"2\"><playerstats name=\"player1\" playerId=\"C\" numShots=\"9\"/><playerstats "
        "name=\"player2\" playerId=\"D\" score=\"3\" numShots=\"1\"/></gamestats>";
    const std::string noShots =
        "<gamestats winner=\"0\"><playerstats name=\"player1\" playerId=\"E\" score=\"2\" numShots=\"4\"/>"
        "<playerstats name=\"player2\" playerId=\"F\" score=\"2\"/></gamestats>";
    WriteFile(UserFile(), Statistics(Entry("1") + kNoWinner + noScore + noShots));
    ASSERT_TRUE(LoadStatistics(m_Store));
    ASSERT_EQ(m_Store.records.size(), 4u);
    ExpectSame(m_Store.records[0], Result(1, "A", 1, 2, "B", 3, 4));
    ExpectSame(m_Store.records[1], Result(-1, "A", 5, 6, "B", 7, 8));
    ExpectSame(m_Store.records[2], Result(2, "C", 0, 9, "D", 3, 1));
    ExpectSame(m_Store.records[3], Result(0, "E", 2, 4, "F", 2, 0));

    m_Store.records.push_back(Result(2, "G", 0, 1, "H", 4, 2));
    ASSERT_TRUE(SaveStatistics(m_Store));
    StatisticsStore again;
    ASSERT_TRUE(LoadStatistics(again));
    ASSERT_EQ(again.records.size(), 5u);
    for (size_t i = 0; i < again.records.size(); ++i) {
        ExpectSame(again.records[i], m_Store.records[i]);
    }
}

// A file the player's game may not open (no read permission) is logged and never written over:
// its 40 results stay, whatever matches end after it. Run as an ordinary user, as the game is:
// root opens any file.
TEST_F(StatisticsFileTest, a_file_that_cannot_be_opened_is_logged_and_never_written_over) {
    for (int i = 0; i < 40; ++i) {
        m_Store.records.push_back(Result(i % 3, "Bubbles", i, 1, "Sprout", 2, 3));
    }
    ASSERT_TRUE(SaveStatistics(m_Store));
    const std::string stored = ReadFile(UserFile());
    ASSERT_EQ(chmod(UserFile().c_str(), 0), 0);
    const BoundedRun run = RunBounded(
        [&] {
            BecomeOrdinaryUser(m_Temp.Path());
            for (int match = 0; match < 3; ++match) {
                StatisticsStore store;
                Require(!LoadStatistics(store) && store.records.empty(), "the load fails and reads nothing");
                store.records.push_back(Result(1, "Bubbles", 3, 1, "Sprout", 0, 2));
                Require(!SaveStatistics(store), "the save is refused");
            }
        },
        10s, 256 * kMegabyte);
    EXPECT_TRUE(run.finished) << run.Describe();
    ASSERT_EQ(chmod(UserFile().c_str(), 0644), 0);
    EXPECT_EQ(ReadFile(UserFile()), stored);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(UserFile().parent_path()), {}), 1);
    EXPECT_EQ(m_Log->Count("LoadStatistics: " + UserFile().string() + " is there but cannot be opened"), 3);
    EXPECT_EQ(m_Log->Count("SaveStatistics: data/statistics.xml could not be read, so it is not written over"), 3);
}

// A file that is not a regular file, or a link to one (as to /dev/null, to keep no results), is
// the player's choice of where results go: it is never opened (a pipe's waiting writer is never
// let through, and nothing waits on it), moved aside or replaced. The load reads nothing and says
// so, and every save is refused, a store's that did not load it too.
TEST_F(StatisticsFileTest, a_file_that_is_not_a_regular_file_is_never_opened_moved_nor_replaced) {
    testing_support::ForEachSpecialPlace(
        UserFile(), m_Temp / "elsewhere",
        [&](testing_support::SpecialKind kind, const std::filesystem::path& made, const std::string& description) {
            SCOPED_TRACE(description);
            const std::vector<std::string> names = testing_support::NamesIn(UserFile().parent_path());
            const testing_support::FileTail log(LogFile());
            EXPECT_TRUE(testing_support::WorksWithoutTouching(kind, made, [] {
                StatisticsStore store;
                Require(!LoadStatistics(store) && store.fileUnreadable && store.records.empty(),
                        "the load fails and reads nothing");
                store.records.push_back(Result(1, "Bubbles", 3, 1, "Sprout", 0, 2));
                Require(!SaveStatistics(store), "the save is refused");
                StatisticsStore unloaded;
                unloaded.records = store.records;
                Require(!SaveStatistics(unloaded), "the saver refuses what is there");
            }));
            EXPECT_EQ(testing_support::NamesIn(UserFile().parent_path()), names);
            EXPECT_EQ(log.Count("LoadStatistics: /userfolder/data/statistics.xml is not a regular file; results are "
                                "not saved to it"),
                      1)
                << log.Text();
            EXPECT_EQ(log.Count("TinyxmlPhysfsProxy::OpenWrite: cannot replace " + made.string() + ": " +
                                testing_support::RefusalOf(kind)),
                      1)
                << log.Text();
        });
}

// The player keeps the file elsewhere, behind links: it is read through them, and a save
// replaces the file they lead to and keeps them. A link that leads nowhere (a folder not there
// today) is a file that cannot be read: nothing is written where it points.
TEST_F(StatisticsFileTest, a_linked_file_is_read_and_saved_through_its_links) {
    const std::filesystem::path kept = m_Temp / "elsewhere/results.xml";
    WriteFile(kept, Statistics(Entry("1") + Entry("2") + Entry("0")));
    std::filesystem::create_directories(UserFile().parent_path());
    std::filesystem::create_symlink("elsewhere/results.xml", m_Temp / "relative.xml");
    std::filesystem::create_symlink(m_Temp / "relative.xml", UserFile());
    ASSERT_TRUE(LoadStatistics(m_Store));
    ASSERT_EQ(m_Store.records.size(), 3u);
    m_Store.records.push_back(Result(2, "Sprout", 1, 3, "Hooligan", 4, 9));
    ASSERT_TRUE(SaveStatistics(m_Store));
    EXPECT_TRUE(std::filesystem::is_symlink(UserFile()));
    EXPECT_TRUE(std::filesystem::is_symlink(m_Temp / "relative.xml"));
    StatisticsStore again;
    ASSERT_TRUE(LoadStatistics(again));
    ASSERT_EQ(again.records.size(), 4u);
    ExpectSame(again.records[3], m_Store.records[3]);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(kept.parent_path()), {}), 1);

    std::filesystem::remove_all(kept.parent_path());
    EXPECT_FALSE(LoadStatistics(m_Store));
    m_Store.records.push_back(Result(1, "a", 1, 1, "b", 0, 0));
    EXPECT_FALSE(SaveStatistics(m_Store));
    EXPECT_FALSE(std::filesystem::exists(kept.parent_path()));
    EXPECT_TRUE(std::filesystem::is_symlink(UserFile()));
}

// A long history is read whole, and quickly: 100,000 results are about 20 MB, twice the length
// that was once refused (the file then moved aside and the statistics started over).
TEST_F(StatisticsFileTest, a_hundred_thousand_results_are_read_whole_and_quickly) {
    constexpr int kResults = 100000;
    for (int i = 0; i < kResults; ++i) {
        m_Store.records.push_back(Result(i % 3, "Bubbles", i % 7, i % 11, "Sprout", i % 5, i));
    }
    ASSERT_TRUE(SaveStatistics(m_Store));
    const BoundedRun run = RunBounded(
        [&] {
            StatisticsStore loaded;
            Require(LoadStatistics(loaded), "the file is read");
            Require(loaded.records.size() == kResults, "every result is read");
            Require(loaded.records.back().player2.numShots == kResults - 1, "the last result is whole");
        },
        10s, 1024 * kMegabyte);
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_TRUE(std::filesystem::exists(UserFile()));
}

// The save never writes what the load would refuse: a file of exactly the longest length read is
// written and read back whole; one byte more and the save is refused, the old file kept.
TEST_F(StatisticsFileTest, the_save_writes_no_file_longer_than_the_load_reads) {
    // A few results with long names reach the length quickly.
    const std::string name(kMegabyte, 'n');
    for (int i = 0; i < 15; ++i) {
        m_Store.records.push_back(Result(1, name, i, 0, name, 0, 0));
    }
    const auto printedLength = [&] {
        TiXmlDocument document;
        WriteStatistics(m_Store.records, document);
        return static_cast<long long>(XmlFileOutput::Print(document, false).size());
    };
    const long long shortBy = kMaxStatisticsFileBytes - printedLength();
    ASSERT_GT(shortBy, 0);
    m_Store.records.back().player2.playerId += std::string(static_cast<size_t>(shortBy), 'x');
    ASSERT_EQ(printedLength(), kMaxStatisticsFileBytes);
    ASSERT_TRUE(SaveStatistics(m_Store));
    StatisticsStore loaded;
    ASSERT_TRUE(LoadStatistics(loaded));
    ASSERT_EQ(loaded.records.size(), m_Store.records.size());
    ExpectSame(loaded.records.back(), m_Store.records.back());

    const std::string stored = ReadFile(UserFile());
    m_Store.records.back().player2.playerId += "x";
    EXPECT_FALSE(SaveStatistics(m_Store));
    EXPECT_TRUE(ReadFile(UserFile()) == stored);
    EXPECT_EQ(m_Log->Count("SaveStatistics: 15 results would make data/statistics.xml " +
                           std::to_string(kMaxStatisticsFileBytes + 1) + " bytes long"),
              1);
}

// An element with far more attributes than any result has is refused before it is parsed (60,000
// on one entry once took 20 s to load, at every match's end), and the file moved aside whole.
TEST_F(StatisticsFileTest, a_file_of_an_entry_with_too_many_attributes_is_refused_at_once) {
    const std::string wide = Statistics(Entry("1") + "<gamestats winner=\"2\"" + Attributes(60000) + "/>");
    WriteFile(UserFile(), wide);
    const BoundedRun run = RunBounded(
        [&] {
            StatisticsStore loaded;
            Require(!LoadStatistics(loaded) && loaded.records.empty(), "the file is refused");
        },
        3s, 256 * kMegabyte);
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_TRUE(ReadFile(UserDir() / "data/statistics.xml.bad") == wide) << "the file is kept aside whole";
    EXPECT_EQ(m_Log->Count("LoadStatistics: /userfolder/data/statistics.xml cannot be read as statistics: not XML: an "
                           "element has more than"),
              1);
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
