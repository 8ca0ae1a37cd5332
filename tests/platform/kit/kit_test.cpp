// What the machines share: the View menu's rules and the zooms they reckon
// from a screen's measures, the view choice as a text store keeps it, and
// the stored number's text. The desktop's and Windows' windows are driven
// through the same rules in their own tests.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "platform/headless/headless_host.h"
#include "platform/kit/stored_number.h"
#include "platform/kit/view_choice.h"

namespace ruvo {
namespace {

// The automatic zoom takes 60 % of the screen's free area at most; a chosen
// one is held to what fits with the menu bar.
TEST(ViewZoom, AutomaticAndChosenZoomsFitTheScreen)
{
    // Width, height and the automatic zoom: the height decides (600 rows
    // within 624 of 1040; 2560 x 1000), never below 1, even where 1 is too large.
    const int screens[][3] = {{1920, 1080, 3}, {1920, 1040, 3}, {1366, 768, 2}, {1024, 768, 1},
                              {2560, 1000, 3}, {640, 480, 1},   {3840, 2160, 6}};
    for (const auto& [width, height, zoom] : screens)
        EXPECT_EQ(AutomaticZoom(width, height), zoom) << width << " x " << height;

    // The zoom chosen (0: automatic), the screen and the zoom shown: at
    // 1920 x 1019, 1000 rows and the bar do not fit; at 1919 across, 5 x 384
    // columns do not; never below 1, even where 1 is too large.
    const int chosen[][4] = {{0, 1920, 1080, 3}, {4, 1920, 1080, 4}, {8, 1920, 1080, 5},
                             {5, 1920, 1019, 4}, {8, 1919, 2000, 4}, {2, 300, 200, 1}};
    for (const auto& [zoom, width, height, shown] : chosen)
        EXPECT_EQ(WindowZoom(ViewChoice{static_cast<std::uint32_t>(zoom), false}, width, height, 20), shown)
            << zoom << " on " << height;
}

// Each step from a view, shown at some zoom on a screen that holds at most
// another: the choice it leads to, or none where the menu has it greyed.
TEST(ViewMenu, EachStepLeadsWhereTheMenuOffersIt)
{
    const std::tuple<ViewChoice, int, int, ViewStep, std::optional<ViewChoice>> cases[] = {
        {{3, false}, 3, 5, ViewStep::ZoomIn, ViewChoice{4, false}},
        {{0, false}, 3, 5, ViewStep::ZoomIn, ViewChoice{4, false}},   // from the zoom shown, not the one chosen
        {{5, false}, 5, 5, ViewStep::ZoomIn, std::nullopt},           // the screen holds no more
        {{0, false}, 10, 12, ViewStep::ZoomIn, ViewChoice{8, false}}, // never past the largest choice
        {{3, false}, 3, 5, ViewStep::ZoomOut, ViewChoice{2, false}},
        {{0, false}, 1, 5, ViewStep::ZoomOut, std::nullopt},
        {{3, false}, 3, 5, ViewStep::AutomaticSize, ViewChoice{0, false}},
        {{3, false}, 3, 5, ViewStep::FullScreen, ViewChoice{3, true}},
        {{3, false}, 3, 5, ViewStep::LeaveFullScreen, std::nullopt},
        // On the whole screen only full screen and Escape act, and the
        // window comes back at the zoom chosen before.
        {{3, true}, 6, 5, ViewStep::ZoomIn, std::nullopt},
        {{3, true}, 6, 5, ViewStep::ZoomOut, std::nullopt},
        {{3, true}, 6, 5, ViewStep::AutomaticSize, std::nullopt},
        {{3, true}, 6, 5, ViewStep::FullScreen, ViewChoice{3, false}},
        {{0, true}, 6, 5, ViewStep::LeaveFullScreen, ViewChoice{0, false}},
    };
    for (const auto& [from, shown, largest, step, to] : cases) {
        const std::string where = "zoom " + std::to_string(from.zoom) + (from.fullScreen ? " full" : "") + ", step " +
                                  std::to_string(static_cast<int>(step));
        EXPECT_EQ(ViewAfter(from, step, shown, largest), to) << where;
        const ViewMenu menu = ViewMenuFor(from, shown, largest);
        // Full screen is always offered; leaving it is Escape's, not an item's.
        const bool offered = step == ViewStep::ZoomIn          ? menu.zoomIn
                             : step == ViewStep::ZoomOut       ? menu.zoomOut
                             : step == ViewStep::AutomaticSize ? menu.automaticSize
                                                               : step == ViewStep::FullScreen || to.has_value();
        EXPECT_EQ(offered, to.has_value()) << where;
        EXPECT_EQ(menu.fullScreenChecked, from.fullScreen) << where;
    }
}

// The view choice in a store that keeps text: a missing, malformed or out of
// range value reads as automatic and windowed, each on its own; a choice
// written over any of them reads back as written.
TEST(ViewChoiceStore, WhatIsNotAChoiceReadsAsAutomaticAndWindowed)
{
    const std::pair<std::map<std::string, std::string, std::less<>>, ViewChoice> cases[] = {
        {{}, {0, false}},
        {{{"Zoom", "2"}, {"Fullscreen", "0"}}, {2, false}},
        {{{"Zoom", "0"}, {"Fullscreen", "1"}}, {0, true}},
        {{{"Zoom", "8"}, {"Fullscreen", "2"}}, {8, false}},
        {{{"Zoom", "9"}, {"Fullscreen", "1"}}, {0, true}},
        {{{"Zoom", "-1"}, {"Fullscreen", "yes"}}, {0, false}},
    };
    for (const auto& [values, expected] : cases) {
        MemorySettings store;
        store.values = values;
        EXPECT_EQ(ReadViewChoice(store), expected) << ::testing::PrintToString(values);
        WriteViewChoice(store, {8 - expected.zoom, !expected.fullScreen});
        EXPECT_EQ(ReadViewChoice(store), (ViewChoice{8 - expected.zoom, !expected.fullScreen}));
    }
}

// A stored number is the game's own plain decimal, ten digits at most.
TEST(StoredNumber, OnlyPlainDecimalWithinThirtyTwoBitsIsANumber)
{
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"0", 0u},          {"4294967295", 4294967295u},
        {"0000000007", 7u}, {"00000000007", {}},
        {"4294967296", {}}, {"", {}},
        {"+1", {}},         {"1 ", {}},
        {"0x10", {}},       {"1.5", {}}};
    for (const auto& [text, expected] : cases) {
        std::uint32_t value = 99;
        EXPECT_EQ(ParseStoredNumber(text, value), expected.has_value()) << text;
        EXPECT_EQ(value, expected.value_or(99)) << text;
    }
}

} // namespace
} // namespace ruvo
