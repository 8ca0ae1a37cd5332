// The four dialogs as the page's HTML dialogs, and what every dialog of the
// page is built with.
// SPDX-License-Identifier: MIT
#include "platform/web/web_dialogs.h"
#include "platform/web/web_game.h"

#include <string>
#include <vector>

#include "platform/web/web_dialog_build.h"
#include "platform/web/web_imports.h"
#include "render/icon.h"
#include "settings/dialog_logic.h"
#include "settings/dialog_templates.h"

namespace ruvo {
namespace {

std::int32_t Length(std::string_view text)
{
    return static_cast<std::int32_t>(text.size());
}

// The icon's picture as RGBA, transparent where its mask is white.
std::vector<std::uint8_t> IconPixels(const SpritePair& icon, std::int32_t& width, std::int32_t& height)
{
    width = 0;
    height = 0;
    if (!icon.image || !icon.mask)
        return {};
    width = std::min(icon.image->Width(), icon.mask->Width());
    height = std::min(icon.image->Height(), icon.mask->Height());
    std::vector<std::uint8_t> rgba;
    rgba.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x) {
            const Pixel p = icon.image->At(x, y);
            const bool transparent = (icon.mask->At(x, y) & kColourBits) == kWhite;
            rgba.insert(rgba.end(), {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                                     static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(transparent ? 0 : 255)});
        }
    return rgba;
}

// Asks until decide says the dialog closes, with which result.
template <typename Decide> int RunUntilClosed(Decide decide)
{
    for (;;) {
        const std::int32_t command = ruvo_dialog_run();
        int result = 0;
        if (decide(command, result)) {
            ruvo_dialog_end();
            return result;
        }
    }
}

// OK and Cancel (Escape, the close button) close it with 0.
bool ClosesOnOkOrCancel(std::int32_t command, int& result)
{
    result = 0;
    return command == kOkId || command == kCancelId;
}

} // namespace

DialogUnits MeasureDialogUnits()
{
    const std::string_view letters(kDialogUnitLetters);
    return DialogUnitsFromFont(ruvo_dialog_text_width(letters.data(), Length(letters)), ruvo_dialog_line_height());
}

void BeginDialog(const DialogTemplate& layout)
{
    const DialogUnits units = MeasureDialogUnits();
    const std::string_view title(layout.title);
    ruvo_dialog_begin(title.data(), Length(title), units.ToPixelsX(layout.rect.x), units.ToPixelsY(layout.rect.y),
                      units.ToPixelsX(layout.rect.width), units.ToPixelsY(layout.rect.height));
    for (const ControlTemplate& control : layout.controls) {
        const std::string_view text(control.text);
        const UnitRect& r = control.rect;
        ruvo_dialog_control(static_cast<std::int32_t>(control.kind), control.id, text.data(), Length(text),
                            units.ToPixelsX(r.x), units.ToPixelsY(r.y), units.ToPixelsX(r.width),
                            units.ToPixelsY(r.height), control.style);
    }
    std::int32_t width = 0;
    std::int32_t height = 0;
    const GameRecord* record = RunningRecord();
    const std::vector<std::uint8_t> icon =
        record != nullptr ? IconPixels(record->icons.largeIcon, width, height) : std::vector<std::uint8_t>{};
    if (!icon.empty())
        ruvo_dialog_icon(icon.data(), width, height);
}

void SetText(int id, std::string_view text)
{
    ruvo_dialog_set_text(id, text.data(), Length(text));
}

std::string EditText(int id)
{
    std::string text;
    const std::int32_t length = ruvo_dialog_text(id, nullptr, 0);
    if (length <= 0)
        return text;
    text.resize(static_cast<std::size_t>(length));
    if (ruvo_dialog_text(id, text.data(), length) != length)
        text.clear();
    return text;
}

int WebDialogHost::RunReplays(GameRecord& record)
{
    return RunReplaysList(record);
}

int WebDialogHost::RunBoard(GameRecord& record)
{
    return RunBoardDialog(record);
}

int WebDialogHost::RunAbout()
{
    BeginDialog(AboutTemplate());
    ruvo_dialog_licences();
    return RunUntilClosed(ClosesOnOkOrCancel);
}

int WebDialogHost::RunOption(GameRecord& record)
{
    BeginDialog(OptionTemplate());
    const std::array<std::string, 8> values = FillOptionEdits(record);
    for (std::size_t row = 0; row < kOptionRows.size(); ++row)
        SetText(kOptionRows[row].editId, values[row]);
    return RunUntilClosed([&record](std::int32_t command, int& result) {
        if (command == kOkId) {
            std::array<std::string, 8> edits;
            for (std::size_t row = 0; row < kOptionRows.size(); ++row)
                edits[row] = EditText(kOptionRows[row].editId);
            StoreOptionEdits(record, edits);
            result = 1;
            return true;
        }
        result = 0;
        return command == kCancelId;
    });
}

int WebDialogHost::RunHighScore(GameRecord& record)
{
    BeginDialog(HighScoreTemplate());
    const std::array<HighScoreRowText, 5> rows = HighScoreRows(record);
    for (int k = 0; k < 5; ++k) {
        const HighScoreRowText& row = rows[static_cast<std::size_t>(k)];
        SetText(ScoreCellId(k), row.score);
        SetText(RoundCellId(k), row.round);
        SetText(NameCellId(k), row.name);
    }
    return RunUntilClosed(ClosesOnOkOrCancel);
}

int WebDialogHost::RunInput(GameRecord& record)
{
    BeginDialog(InputTemplate());
    // Only OK closes it: a name must be confirmed, even an empty one.
    return RunUntilClosed([&record](std::int32_t command, int& result) {
        result = 0;
        if (command != kOkId)
            return false;
        StoreEntryName(record, EditText(kNameEditId));
        return true;
    });
}

void WebDialogHost::ShowNote(std::string_view text)
{
    ruvo_dialog_note(text.data(), Length(text));
}

void WebHelpViewer::Help(std::string_view, HelpCommand command)
{
    ruvo_help_show(command == HelpCommand::Finder ? 1 : 0);
}

} // namespace ruvo
