// How large the play field is shown: a whole-number zoom, every game pixel an
// N x N block, in a window or on the whole screen. The choice is kept in the
// game's settings store beside the game's own values.
#pragma once

#include <cstdint>

namespace ruvo {

class SettingsStore;

constexpr int kFieldWidth = 384;
constexpr int kFieldHeight = 200;
constexpr std::uint32_t kLargestZoomChoice = 8;

struct ViewChoice {
    std::uint32_t zoom = 0; // 0: automatic, else 1 to kLargestZoomChoice
    bool fullScreen = false;

    bool operator==(const ViewChoice&) const = default;
};

// The largest zoom that keeps the window within 60 % of the screen's free
// area both ways; at least 1.
int AutomaticZoom(int availableWidth, int availableHeight);

// The largest zoom whose field fits the area; at least 1.
int LargestZoom(int width, int height);

// The zoom of the window: the automatic one, or the chosen one as far as it
// fits the screen's free area with the menu bar above the field.
int WindowZoom(const ViewChoice& choice, int availableWidth, int availableHeight, int menuHeight);

// "Zoom" and "Fullscreen"; each one missing, malformed or out of range reads
// as automatic and windowed.
ViewChoice ReadViewChoice(SettingsStore& store);
void WriteViewChoice(SettingsStore& store, const ViewChoice& choice);

} // namespace ruvo
