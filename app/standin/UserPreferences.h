#pragma once

// Stand-in for the stored user preferences: the members the application shell reads, at their
// defaults, loaded from nowhere and saved nowhere.

namespace standin {

class UserPreferences {
public:
    // A point or size, as the stored record keeps them.
    struct Vec2 {
        float x = 0.0f;
        float y = 0.0f;
    };

    static UserPreferences& GetInstance() {
        static UserPreferences instance;
        return instance;
    }

    void Save() {}

    // The window's size in pixels; (0, 0) lets the application choose 1024 x 768.
    Vec2 windowSize;
    // Off here, so that the window is cleared to the light clear colour.
    bool enableBitmaps = false;
    bool enableMeshes = true;
    // Start at the quick-match selection instead of the title.
    bool skipMenu = false;

private:
    UserPreferences() { Load(); }
    void Load() {}
};

}  // namespace standin
