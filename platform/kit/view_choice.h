// How large the play field is shown: a whole-number zoom, every game pixel an
// N x N block, in a window or on the whole screen. The choice is kept in the
// game's settings store beside the game's own values. The screens' and the
// windows' measures are the platform's; the rules that size the field from
// them, and the View menu's steps, are the same everywhere.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace ruvo {

class SettingsStore;

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

// The View menu's items and keys.
enum class ViewStep { ZoomIn, ZoomOut, AutomaticSize, FullScreen, LeaveFullScreen };

// What the View menu offers while the field is shown at shownZoom and the
// screen holds a window of at most largestZoom: zooming in and out within
// those, and the window's own sizes only in a window.
struct ViewMenu {
    bool zoomIn = false;
    bool zoomOut = false;
    bool automaticSize = false;
    bool fullScreenChecked = false;

    bool operator==(const ViewMenu&) const = default;
};
ViewMenu ViewMenuFor(const ViewChoice& choice, int shownZoom, int largestZoom);

// The choice after a step, from the zoom the field is shown at; none when the
// menu has the step greyed (or, for Escape's LeaveFullScreen, in a window).
std::optional<ViewChoice> ViewAfter(const ViewChoice& choice, ViewStep step, int shownZoom, int largestZoom);

// "Zoom" and "Fullscreen"; each one missing, malformed or out of range reads
// as automatic and windowed.
ViewChoice ReadViewChoice(SettingsStore& store);
void WriteViewChoice(SettingsStore& store, const ViewChoice& choice);

} // namespace ruvo
