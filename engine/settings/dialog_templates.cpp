// The layouts of the four dialogs, as data every platform builds from.
// SPDX-License-Identifier: MIT
#include "settings/dialog_templates.h"

#include <array>

#include "settings/dialog_logic.h"

namespace ruvo {
namespace {

using K = ControlKind;

constexpr ControlStyle kLabel = kSunken | kCentredVertically;
constexpr ControlStyle kHeader = kCentred | kCentredVertically;

constexpr auto kAboutControls = std::to_array<ControlTemplate>({
    ControlTemplate{K::Icon, kIconId, "", {9, 6, 32, 32}},
    ControlTemplate{K::Text, kNoControlId, kAboutText, {33, 6, 96, 8}},
    ControlTemplate{K::Button, kOkId, "OK", {46, 30, 41, 12}, kDefaultButton},
});

constexpr auto kOptionControls = std::to_array<ControlTemplate>({
    ControlTemplate{K::Text, kNoControlId, "Round:", {10, 10, 45, 12}, kLabel},
    ControlTemplate{K::Text, kNoControlId, "Game Level:", {10, 30, 45, 12}, kLabel},
    ControlTemplate{K::Text, kNoControlId, "Boss Level:", {10, 50, 45, 12}, kLabel},
    ControlTemplate{K::Text, kNoControlId, "Distance:", {10, 70, 45, 12}, kLabel},
    ControlTemplate{K::Text, kNoControlId, "Speed:", {10, 90, 45, 12}, kLabel},
    ControlTemplate{K::Text, kNoControlId, "Harry Level:", {10, 110, 45, 12}, kLabel},
    ControlTemplate{K::Text, kNoControlId, "Harry Speed:", {10, 130, 45, 12}, kLabel},
    ControlTemplate{K::Text, kNoControlId, "Damage:", {10, 150, 45, 12}, kLabel},
    ControlTemplate{K::Edit, 402, "", {60, 10, 25, 12}},
    ControlTemplate{K::Edit, 403, "", {60, 30, 25, 12}},
    ControlTemplate{K::Edit, 404, "", {60, 50, 25, 12}},
    ControlTemplate{K::Edit, 405, "", {60, 70, 25, 12}},
    ControlTemplate{K::Edit, 406, "", {60, 90, 25, 12}},
    ControlTemplate{K::Edit, 407, "", {60, 110, 25, 12}},
    ControlTemplate{K::Edit, 408, "", {60, 130, 25, 12}},
    ControlTemplate{K::Edit, 409, "", {60, 150, 25, 12}},
    ControlTemplate{K::Button, kOkId, "OK", {95, 10, 50, 14}},
    ControlTemplate{K::Button, kCancelId, "Cancel", {95, 27, 50, 14}},
    ControlTemplate{K::Icon, kNoControlId, "", {110, 80, 18, 21}},
});

constexpr ControlStyle kScoreCell = kSunken | kRightAligned | kCentredVertically;
constexpr ControlStyle kRoundCell = kSunken | kCentred | kCentredVertically;
constexpr ControlStyle kNameCell = kSunken | kCentredVertically;

// The table's lines: place, score (411 + k), round (421 + k), name (416 + k).
constexpr auto kHighScoreControls = std::to_array<ControlTemplate>({
    ControlTemplate{K::Button, kOkId, "OK", {65, 130, 50, 20}, kDefaultButton},
    ControlTemplate{K::Text, kNoControlId, "Score", {29, 10, 40, 12}, kHeader},
    ControlTemplate{K::Text, kNoControlId, "RD", {74, 10, 15, 12}, kHeader},
    ControlTemplate{K::Text, kNoControlId, "Name", {94, 10, 75, 12}, kHeader},
    ControlTemplate{K::Text, kNoControlId, "1st", {15, 25, 10, 12}, kHeader},
    ControlTemplate{K::Text, ScoreCellId(0), "", {29, 25, 40, 12}, kScoreCell},
    ControlTemplate{K::Text, RoundCellId(0), "", {74, 25, 15, 12}, kRoundCell},
    ControlTemplate{K::Text, NameCellId(0), "", {94, 25, 75, 12}, kNameCell},
    ControlTemplate{K::Text, kNoControlId, "2nd", {15, 45, 10, 12}, kHeader},
    ControlTemplate{K::Text, ScoreCellId(1), "", {29, 45, 40, 12}, kScoreCell},
    ControlTemplate{K::Text, RoundCellId(1), "", {74, 45, 15, 12}, kRoundCell},
    ControlTemplate{K::Text, NameCellId(1), "", {94, 45, 75, 12}, kNameCell},
    ControlTemplate{K::Text, kNoControlId, "3rd", {15, 65, 10, 12}, kHeader},
    ControlTemplate{K::Text, ScoreCellId(2), "", {29, 65, 40, 12}, kScoreCell},
    ControlTemplate{K::Text, RoundCellId(2), "", {74, 65, 15, 12}, kRoundCell},
    ControlTemplate{K::Text, NameCellId(2), "", {94, 65, 75, 12}, kNameCell},
    ControlTemplate{K::Text, kNoControlId, "4th", {15, 85, 10, 12}, kHeader},
    ControlTemplate{K::Text, ScoreCellId(3), "", {29, 85, 40, 12}, kScoreCell},
    ControlTemplate{K::Text, RoundCellId(3), "", {74, 85, 15, 12}, kRoundCell},
    ControlTemplate{K::Text, NameCellId(3), "", {94, 85, 75, 12}, kNameCell},
    ControlTemplate{K::Text, kNoControlId, "5th", {15, 105, 10, 12}, kHeader},
    ControlTemplate{K::Text, ScoreCellId(4), "", {29, 105, 40, 12}, kScoreCell},
    ControlTemplate{K::Text, RoundCellId(4), "", {74, 105, 15, 12}, kRoundCell},
    ControlTemplate{K::Text, NameCellId(4), "", {94, 105, 75, 12}, kNameCell},
});

constexpr auto kInputControls = std::to_array<ControlTemplate>({
    ControlTemplate{K::Text, kNoControlId, kInputPrompt, {18, 10, 150, 10}, kHeader},
    ControlTemplate{K::Edit, kNameEditId, "", {30, 25, 120, 15}},
    ControlTemplate{K::Button, kOkId, "OK", {65, 50, 55, 20}},
});

constexpr DialogTemplate kAbout{kAboutTitle, {42, 29, 133, 47}, kAboutControls};
constexpr DialogTemplate kOption{"Option", {0, 0, 155, 170}, kOptionControls};
constexpr DialogTemplate kHighScore{"High-Score", {0, 16, 183, 161}, kHighScoreControls};
constexpr DialogTemplate kInput{"High-Score", {0, 16, 187, 79}, kInputControls};

// Rounds to nearest, halves away from zero, as the dialog manager's scaling does.
int Scale(int units, int base, int divisor)
{
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

} // namespace

const DialogTemplate& AboutTemplate()
{
    return kAbout;
}
const DialogTemplate& OptionTemplate()
{
    return kOption;
}
const DialogTemplate& HighScoreTemplate()
{
    return kHighScore;
}
const DialogTemplate& InputTemplate()
{
    return kInput;
}

int DialogUnits::ToPixelsX(int units) const
{
    return Scale(units, baseX, 4);
}
int DialogUnits::ToPixelsY(int units) const
{
    return Scale(units, baseY, 8);
}

DialogUnits DialogUnitsFromFont(int lettersWidth, int height)
{
    return {(lettersWidth / 26 + 1) / 2, height};
}

} // namespace ruvo
