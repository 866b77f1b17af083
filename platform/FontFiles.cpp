#include "platform/FontFiles.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace platform {

namespace {

struct PatternDestroyer {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDestroyer>;

struct ConfigDestroyer {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};

// The font configuration and the list of installed fonts, loaded on first use and released at
// exit. Fontconfig's own default configuration would never be released.
FcConfig* Config() {
    static const std::unique_ptr<FcConfig, ConfigDestroyer> config(FcInitLoadConfigAndFonts());
    return config.get();
}

// Whether one of the pattern's family names is family, without regard to case.
bool HasFamily(FcPattern* pattern, const std::string& family) {
    const FcChar8* wanted = reinterpret_cast<const FcChar8*>(family.c_str());
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; i++) {
        if (FcStrCmpIgnoreCase(name, wanted) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool FindFontFile(const std::string& family, bool bold, bool italic, std::string* path) {
    FcConfig* config = Config();
    Pattern query(FcPatternCreate());
    if (!config || !query) {
        return false;
    }
    FcPatternAddString(query.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(query.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(query.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, query.get(), FcMatchPattern);
    FcDefaultSubstitute(query.get());

    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, query.get(), &result));
    if (!match || !HasFamily(match.get(), family)) {
        return false;
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
        return false;
    }
    *path = reinterpret_cast<const char*>(file);
    return true;
}

}  // namespace platform
