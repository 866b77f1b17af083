#pragma once

#include "flash/FlashMovie.h"
#include "gui/FlashGUI.h"
#include "gui/GlobboSnapshot.h"

#include <list>
#include <string>

class GUIDirector;

// The championship's match table (screen 10): the schedule as a table of matches with the
// portraits of the creatures known so far, the match about to be played highlighted, and
// "Start" to play it. The description's first layer holds, for each match k, the clips
// "match<k>rect" (its frame, shown on the current match) and "match<k>p1", "match<k>p2" (the
// places of its players, shown while a place is still open); the frame labels "2 players",
// "3 players" and "4 players"; and the texts "title2", "2match1"..."2match3", "3match1",
// "3match2" and "4match1"..."4match3" (each shown with its number of players).
class GUIChampionshipMatchTable : public FlashGUI {
public:
    static constexpr const char* kSelectionMovie = "data/gui/championship_match_table_selection.swf";
    static constexpr float kPortraitScale = 0.65f;
    // The frame label of a portrait that stands in place without a show-up: a side filled but
    // not marked known, as all are in a two-player championship.
    static constexpr const char* kShownLabel = "shown";
    static constexpr uint32_t kPortraitFlags = GlobboSnapshot::kFace | GlobboSnapshot::kFrame;
    // The highlight's frames to choose from (counted from 0).
    static constexpr int kFirstHighlightFrame = 1;
    static constexpr int kLastHighlightFrame = 4;

    explicit GUIChampionshipMatchTable(GUIDirector& director) : m_Director(director) {}

    // Adds "Start" with the focus and loads the highlight; no portraits.
    void Load(const std::string& file) override;
    // Shows the set-up's table: the frame of the players' number, the title, the texts, the
    // open places, the portraits (made anew) and the highlight over the current match.
    void Activate() override;
    void Update(Application& application, float dt) override;
    // The movie, the portraits, the highlight.
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    // "Start" plays the current match: the match screen with the get-ready screen over it.
    void OnFSCommand(const std::string& command) override;

    const std::list<GlobboSnapshot>& GetPortraits() const { return m_Portraits; }
    const FlashMovie& GetSelection() const { return m_Selection; }

private:
    void ShowTexts(int players);
    // The places and portraits of one match; counter numbers the known portraits' entrances.
    void ShowMatch(size_t index, int& counter);

    GUIDirector& m_Director;
    std::list<GlobboSnapshot> m_Portraits;
    FlashMovie m_Selection;
};
