#include "app/ControlHints.h"

#include "app/MatchSetup.h"

const char* HintForKeyPress(bool usedByController, int screenId) {
    return usedByController || screenId == kMatchScreenId ? nullptr : "gui controls";
}

const char* HintForMouseButton(int screenId, int matchMode) {
    if (screenId != kMatchScreenId) {
        return "gui controls";
    }
    switch (matchMode) {
    case MatchSetup::QuickMatch: return "quickmatch controls";
    case MatchSetup::Training: return "training controls";
    default: return nullptr;
    }
}
