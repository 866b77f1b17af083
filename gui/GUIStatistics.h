#pragma once

#include "gui/FlashGUI.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

#include <array>
#include <vector>

// The statistics screen (screen 16): the match that just ended (the two creatures' names with
// their points and shots, while a match exists) or the overall table of every result in the
// statistics file, one row per player ranked by points. The movie's links "CurrentMatchLink" and
// "OverallLink" switch between the two; the texts are drawn over the movie. The movie's root has
// a frame labelled "match" and a function "OverallOnly" that takes the current-match link away
// when there is no match to show.
class GUIStatistics : public FlashGUI {
public:
    static constexpr const char* kFontFile = "data/child.ttf";
    // Rows whose top lies at or below this line (the bottom of the logical screen) are not drawn.
    static constexpr float kScreenBottom = 600.0f;

    // The columns of the current match: labels, player 1, player 2; each has the points text
    // and the shots text.
    using Column = std::array<sf::Text, 2>;
    // One row of the overall table: "<rank>. <id>", points, played, won, shots, hits.
    using Row = std::array<sf::Text, 6>;

    // Adds the items "Back", "CurrentMatchLink" and "OverallLink", linked in a ring.
    void Load(const std::string& file) override;
    // Focus on "Back"; the current match when a match exists, else the overall table alone; the
    // statistics file read again and the table rebuilt.
    void Activate() override;
    // The movie, then the texts of the view shown.
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    // "CurrentMatchLink" shows the current match, "OverallLink" the overall table.
    void OnFSCommand(const std::string& command) override;

    bool ShowsCurrentMatch() const { return m_ShowCurrentMatch; }
    const std::array<sf::Text, 2>& GetNames() const { return m_Names; }
    const std::array<Column, 3>& GetColumns() const { return m_Columns; }
    const Row& GetHeader() const { return m_Header; }
    const std::vector<Row>& GetRows() const { return m_Rows; }

private:
    // The font of every text, read on the first activation only.
    const sf::Font& Font();
    sf::Text MakeText(const std::string& text, const sf::Vector2f& position, unsigned int size, const sf::Color& color);
    void BuildCurrentMatch();
    void BuildOverallTable();

    bool m_ShowCurrentMatch = false;
    sf::Font m_Font;
    std::string m_FontBytes;
    bool m_FontTried = false;
    bool m_HasFont = false;
    std::array<sf::Text, 2> m_Names;
    std::array<Column, 3> m_Columns;
    Row m_Header;
    std::vector<Row> m_Rows;
};
