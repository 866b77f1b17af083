#include "gui/Championship.h"

#include "app/Log.h"

#include <iterator>

namespace {

// The sides of a match record.
constexpr int kSide1 = 0;
constexpr int kSide2 = 1;

// The number of matches of a championship of the players.
size_t MatchCountOf(int players) {
    return players == 4 ? 4 : 3;
}

}  // namespace

const std::string& Championship::Player(int index) const {
    return *std::next(m_Setup.players.begin(), index);
}

void Championship::Reset(int matchCount) {
    m_Setup.matches.assign(static_cast<size_t>(matchCount), MatchRecord());
    m_Setup.results.assign(static_cast<size_t>(matchCount), GameStatistics());
    m_Setup.podium = {};
    m_Setup.matchIndex = 0;
}

void Championship::Place(size_t match, int side, const std::string& file) {
    MatchRecord& record = m_Setup.matches[match];
    (side == kSide1 ? record.player1File : record.player2File) = file;
    record.matchFlags[static_cast<size_t>(side)] = true;
}

bool Championship::CreateSchedule2() {
    if (PlayerCount() != 2) {
        log_error("Championship::CreateSchedule2: %d players", PlayerCount());
        return false;
    }
    Reset(3);
    for (MatchRecord& match : m_Setup.matches) {
        match.player1File = Player(0);
        match.player2File = Player(1);
    }
    return true;
}

bool Championship::CreateSchedule3() {
    if (PlayerCount() != 3) {
        log_error("Championship::CreateSchedule3: %d players", PlayerCount());
        return false;
    }
    Reset(3);
    Place(0, kSide1, Player(0));
    Place(0, kSide2, Player(1));
    Place(1, kSide1, Player(2));
    return true;
}

bool Championship::CreateSchedule4() {
    if (PlayerCount() != 4) {
        log_error("Championship::CreateSchedule4: %d players", PlayerCount());
        return false;
    }
    Reset(4);
    Place(0, kSide1, Player(0));
    Place(0, kSide2, Player(1));
    Place(1, kSide1, Player(2));
    Place(1, kSide2, Player(3));
    return true;
}

bool Championship::CreateSchedule() {
    switch (PlayerCount()) {
    case 2: return CreateSchedule2();
    case 3: return CreateSchedule3();
    case 4: return CreateSchedule4();
    default: log_error("Championship::CreateSchedule: %d players", PlayerCount()); return false;
    }
}

void Championship::AssignLevels() {
    const std::vector<std::string>& levels = m_Setup.levels;
    for (size_t i = 0; i < m_Setup.matches.size(); ++i) {
        m_Setup.matches[i].levelFile = levels.empty() ? kFallbackLevel : levels[i % levels.size()];
    }
}

bool Championship::HasCurrentMatch() const {
    return m_Setup.matchIndex >= 0 && static_cast<size_t>(m_Setup.matchIndex) < m_Setup.matches.size() &&
           static_cast<size_t>(m_Setup.matchIndex) < m_Setup.results.size();
}

bool Championship::IsDecided() const {
    if (!HasCurrentMatch()) {
        return false;
    }
    const int32_t winner = m_Setup.results[static_cast<size_t>(m_Setup.matchIndex)].winner;
    return winner == GameStatistics::kPlayer1 || winner == GameStatistics::kPlayer2;
}

bool Championship::IsLastMatch() const {
    return !m_Setup.matches.empty() && m_Setup.matchIndex == static_cast<int32_t>(m_Setup.matches.size()) - 1;
}

std::string Championship::GetWinnerFile() const {
    if (!IsDecided()) {
        return std::string();
    }
    const size_t index = static_cast<size_t>(m_Setup.matchIndex);
    const MatchRecord& match = m_Setup.matches[index];
    return m_Setup.results[index].winner == GameStatistics::kPlayer1 ? match.player1File : match.player2File;
}

std::string Championship::GetLoserFile() const {
    if (!IsDecided()) {
        return std::string();
    }
    const size_t index = static_cast<size_t>(m_Setup.matchIndex);
    const MatchRecord& match = m_Setup.matches[index];
    return m_Setup.results[index].winner == GameStatistics::kPlayer1 ? match.player2File : match.player1File;
}

bool Championship::NextMatch() {
    if (!HasCurrentMatch()) {
        log_error("Championship::NextMatch: no match %d to go on from", m_Setup.matchIndex);
        return false;
    }
    if (IsDecided()) {
        if (IsLastMatch()) {
            log_error("Championship::NextMatch: match %d was the last", m_Setup.matchIndex);
            return false;
        }
        ++m_Setup.matchIndex;
    }
    m_Current.TakeMatch(m_Setup.matches[static_cast<size_t>(m_Setup.matchIndex)]);
    return true;
}

void Championship::StoreResult(const GameStatistics& statistics) {
    if (!HasCurrentMatch()) {
        log_error("Championship::StoreResult: no match %d to keep a result of", m_Setup.matchIndex);
        return;
    }
    m_Setup.results[static_cast<size_t>(m_Setup.matchIndex)] = statistics;
}

bool Championship::RecordMatch(const GameStatistics& statistics) {
    if (m_Setup.mode != MatchSetup::Championship) {
        return true;
    }
    const int players = PlayerCount();
    if (players < 2 || players > 4) {
        log_error("Championship::RecordMatch: %d players", players);
        return false;
    }
    if (m_Setup.matches.size() < MatchCountOf(players) || m_Setup.results.size() < MatchCountOf(players)) {
        log_error("Championship::RecordMatch: no schedule for %d players", players);
        return false;
    }
    StoreResult(statistics);
    if (!IsDecided()) {
        return true;
    }
    if (players == 2) {
        ApplyRuleOf2();
    } else if (players == 3) {
        ApplyRuleOf3(GetWinnerFile(), GetLoserFile());
    } else {
        ApplyRuleOf4(GetWinnerFile(), GetLoserFile());
    }
    return true;
}

// The same two players meet three times: the one with two wins is the champion.
void Championship::ApplyRuleOf2() {
    if (m_Setup.matchIndex != 2) {
        return;
    }
    int firstWins = 0;
    for (size_t i = 0; i < 3; ++i) {
        firstWins += m_Setup.results[i].winner == GameStatistics::kPlayer1 ? 1 : 0;
    }
    const MatchRecord& match = m_Setup.matches[2];
    m_Setup.podium[0] = firstWins >= 2 ? match.player1File : match.player2File;
    m_Setup.podium[1] = firstWins >= 2 ? match.player2File : match.player1File;
}

void Championship::ApplyRuleOf3(const std::string& winner, const std::string& loser) {
    switch (m_Setup.matchIndex) {
    case 0:
        Place(2, kSide1, winner);
        Place(1, kSide2, loser);
        break;
    case 1:
        Place(2, kSide2, winner);
        m_Setup.podium[2] = loser;
        break;
    case 2:
        m_Setup.podium[0] = winner;
        m_Setup.podium[1] = loser;
        break;
    default: break;
    }
}

void Championship::ApplyRuleOf4(const std::string& winner, const std::string& loser) {
    switch (m_Setup.matchIndex) {
    case 0:
        Place(3, kSide1, winner);
        Place(2, kSide1, loser);
        break;
    case 1:
        Place(3, kSide2, winner);
        Place(2, kSide2, loser);
        break;
    case 2: m_Setup.podium[2] = winner; break;
    case 3:
        m_Setup.podium[0] = winner;
        m_Setup.podium[1] = loser;
        break;
    default: break;
    }
}

void Championship::Abort() {
    m_Setup.Abort();
}
