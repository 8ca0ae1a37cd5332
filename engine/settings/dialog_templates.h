// The layouts of the game's four dialogs, kept as data that every platform
// builds its dialogs from: positions and sizes in dialog units, which scale
// with the dialog font the way the classic dialog manager scales them, so the
// dialogs keep their proportions whatever face stands in for the one they
// were designed with.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

#include <cstdint>
#include <span>

namespace ruvo {

constexpr int kNoControlId = -1;
constexpr int kOkId = 1;
constexpr int kCancelId = 2;
// The controls the dialogs fill or read, by what they hold: the About box's
// icon, the name dialog's edit, and row k's cells of the high-score table (0
// the best). The Option dialog's edits are its rows' (settings/options.h).
constexpr int kIconId = 401;
constexpr int kNameEditId = 410;
constexpr int ScoreCellId(std::size_t k)
{
    return 411 + static_cast<int>(k);
}
constexpr int NameCellId(std::size_t k)
{
    return 416 + static_cast<int>(k);
}
constexpr int RoundCellId(std::size_t k)
{
    return 421 + static_cast<int>(k);
}

enum class ControlKind { Text, Icon, Edit, Button };

// Styles a control can carry; text alignment is left unless centred or right.
enum ControlStyle : std::uint32_t {
    kStyleNone = 0,
    kCentred = 1u << 0,
    kRightAligned = 1u << 1,
    kCentredVertically = 1u << 2, // one line of text, in the middle of the rectangle
    kSunken = 1u << 3,
    kDefaultButton = 1u << 4,
};

constexpr ControlStyle operator|(ControlStyle a, ControlStyle b)
{
    return static_cast<ControlStyle>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}

// A rectangle in dialog units.
struct UnitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Every edit and button takes the focus (and the Tab key walks them in
// template order); texts and icons never do.
struct ControlTemplate {
    ControlKind kind = ControlKind::Text;
    int id = kNoControlId;
    const char* text = ""; // UTF-8
    UnitRect rect;
    ControlStyle style = kStyleNone;
};

struct DialogTemplate {
    const char* title; // UTF-8
    UnitRect rect;     // position relative to the play field, and the client size
    std::span<const ControlTemplate> controls;
};

const DialogTemplate& AboutTemplate();
const DialogTemplate& OptionTemplate();
const DialogTemplate& HighScoreTemplate();
const DialogTemplate& InputTemplate();

// The face the dialogs were designed with, at 9 points (12 pixels on the
// 96-dpi grid the layouts were made for), and the faces that stand in for it.
constexpr const char* kDialogFace = "ＭＳ Ｐゴシック";
constexpr int kDialogFontPixels = 12;

// One dialog unit across is a quarter of the font's average letter width
// (measured over A-Z and a-z), one down an eighth of its character height.
struct DialogUnits {
    int baseX = 0;
    int baseY = 0;

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
};

// The letters the average width is measured over.
constexpr const char* kDialogUnitLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// From the width of kDialogUnitLetters and the font's character height.
DialogUnits DialogUnitsFromFont(int lettersWidth, int height);

} // namespace ruvo
