// The game as a WebAssembly reactor: the page calls these entry points from
// its events (start, the timer, the menu, keys, clicks, repaints, leaving)
// and the game answers through the page's imports.
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/shell.h"
#include "game/title.h"
#include "game/window.h"
#include "platform/kit/machine_host.h"
#include "platform/web/web_dialogs.h"
#include "platform/web/web_game.h"
#include "platform/web/web_imports.h"
#include "platform/web/web_replay_store.h"
#include "platform/web/web_settings.h"
#include "platform/web/web_sound.h"
#include "platform/web/web_text.h"
#include "platform/web/web_window.h"
#include "render/surface.h"
#include "replay/replay_file.h"
#include "replay/replay_race.h"
#include "replay/replay_watch.h"
#include "resources/embedded.h"
#include "settings/highscore.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

// The browser's machine under the game, with the game it runs.
struct WebMachine {
    Host MakeHost() { return MachineHost(*this, &settings, "web"); }

    EmbeddedResources resources;
    WebTextRenderer text;
    WebSettingsStore settings;
    WebWavePlayer wave;
    WebMusicLibrary music;
    WebDialogHost dialogs;
    WebHelpViewer help;
    WebReplayStore replays;
    WebWindowSystem windows;
    std::unique_ptr<GameRecord> record;
    std::vector<std::uint8_t> field; // the frame buffer as the canvas takes it
};

WebMachine& Machine()
{
    static WebMachine machine;
    return machine;
}

// The repaint: the whole frame buffer, as RGBA bytes for the canvas.
class FieldPaint final : public PaintTarget {
  public:
    explicit FieldPaint(std::vector<std::uint8_t>& field) : field_(field) {}

    Rect InvalidRect() const override { return {0, 0, 1 << 16, 1 << 16}; }

    void CopyFrom(const Surface& source, Rect area) override
    {
        const std::int32_t width = source.Width();
        const std::int32_t height = source.Height();
        field_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
        const std::int32_t left = std::max(area.x, 0);
        const std::int32_t top = std::max(area.y, 0);
        const auto right = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{area.x} + area.width, width));
        const auto bottom =
            static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{area.y} + area.height, height));
        if (left >= right || top >= bottom)
            return;
        for (std::int32_t y = top; y < bottom; ++y) {
            const Pixel* in = source.Row(y);
            std::uint8_t* out = field_.data() + (static_cast<std::size_t>(y) * width + left) * 4;
            for (std::int32_t x = left; x < right; ++x, out += 4) {
                const Pixel p = in[x];
                out[0] = static_cast<std::uint8_t>(p >> 16);
                out[1] = static_cast<std::uint8_t>(p >> 8);
                out[2] = static_cast<std::uint8_t>(p);
                out[3] = 0xFF;
            }
        }
        ruvo_field_present(field_.data(), width, height, left, top, right - left, bottom - top);
    }

  private:
    std::vector<std::uint8_t>& field_;
};

WebGameWindow* LiveWindow()
{
    WebMachine& machine = Machine();
    WebGameWindow* window = machine.windows.Window();
    return machine.record && window != nullptr && !window->Destroyed() ? window : nullptr;
}

void Deliver(const Message& message)
{
    if (WebGameWindow* window = LiveWindow())
        window->Deliver(message);
    // After the quit the game shuts down, as the end of its message loop.
    WebMachine& machine = Machine();
    WebGameWindow* window = machine.windows.Window();
    if (machine.record && window != nullptr && window->QuitCode())
        ShutDown(std::move(machine.record));
}

} // namespace

const GameRecord* RunningRecord()
{
    return Machine().record.get();
}

} // namespace ruvo

using namespace ruvo;

// Start-up up to the message loop; 1 when the game runs.
RUVO_EXPORT(ruvo_start) std::int32_t RuvoStart()
{
    WebMachine& machine = Machine();
    if (machine.record)
        return 1;
    machine.record = StartUp(machine.windows, machine.MakeHost(), &machine.resources, 1);
    return machine.record ? 1 : 0;
}

RUVO_EXPORT(ruvo_tick) void RuvoTick(std::int32_t timerId)
{
    Deliver(Message{MessageKind::Timer, static_cast<std::uint32_t>(timerId)});
}

RUVO_EXPORT(ruvo_command) void RuvoCommand(std::int32_t command)
{
    Deliver(Message{MessageKind::Command, static_cast<std::uint32_t>(command)});
}

RUVO_EXPORT(ruvo_char) void RuvoChar(std::int32_t character)
{
    Deliver(Message{MessageKind::Char, static_cast<std::uint32_t>(character)});
}

RUVO_EXPORT(ruvo_click) void RuvoClick()
{
    Deliver(Message{MessageKind::LButtonDown});
}

RUVO_EXPORT(ruvo_paint) void RuvoPaint()
{
    FieldPaint target(Machine().field);
    Message message{MessageKind::Paint};
    message.paint = &target;
    Deliver(message);
}

// The page is being hidden or closed: the settings are kept as they stand.
RUVO_EXPORT(ruvo_save) void RuvoSave()
{
    if (LiveWindow() != nullptr)
        SaveSettings(*Machine().record);
}

// The letters of the title screen (the logo, the credit line, the status
// line with every digit), drawn ahead while the page waits for the game's
// first tick, so that the first frame need not draw them. A few letters a
// call, each call a task of the page's own, so that no one task holds the
// page up for long: piece 0, 1, 2, ... while the answer is 1 (more to come).
RUVO_EXPORT(ruvo_warm_letters) std::int32_t RuvoWarmLetters(std::int32_t piece)
{
    if (LiveWindow() == nullptr || piece < 0)
        return 0;
    constexpr std::size_t kLetters = 4;
    const GameRecord& record = *Machine().record;
    const std::string status = FormatStatusLine(123456789, 0, 0);
    const std::pair<FontId, std::string_view> texts[] = {{record.drawing.logoFont, kLogoText},
                                                         {record.drawing.textFont, kCreditText},
                                                         {record.drawing.textFont, status}};
    auto left = static_cast<std::size_t>(piece);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const std::string_view text = texts[i].second;
        const std::size_t pieces = (text.size() + kLetters - 1) / kLetters;
        if (left >= pieces) {
            left -= pieces;
            continue;
        }
        // The texts are ASCII: a piece never splits a letter.
        Machine().text.Measure(texts[i].first, text.substr(left * kLetters, kLetters));
        return left + 1 < pieces || i + 1 < std::size(texts) ? 1 : 0;
    }
    return 0;
}

// Another tab has stored a new high-score table: this one takes it in, with
// its own entries not yet stored, and its status line shows the new best
// score from the next tick on.
RUVO_EXPORT(ruvo_take_in_table) void RuvoTakeInTable()
{
    if (LiveWindow() != nullptr)
        MergeStoredTable(*Machine().record);
}

// A board serves the page (the page asked its own address): the Game menu
// offers Board... on the title, and the Replays list Send to Board.
RUVO_EXPORT(ruvo_board_served) void RuvoBoardServed()
{
    if (LiveWindow() == nullptr)
        return;
    Machine().record->host.board = true;
    UpdateMenu(*Machine().record);
}

// A replay from a link the page was opened with: the page writes its text
// into the room asked for, then watches it, or races it (race: 1). Answers with the one-line error
// when it cannot be played (the page shows it), or 0. No room is given for a
// text over the replay's size limit (the answer is 0): the memory a module
// takes it never gives back.
namespace {
std::string gLinkText;
std::string gLinkError;
bool gLinkRefused = false;
} // namespace

RUVO_EXPORT(ruvo_link_room) char* RuvoLinkRoom(std::int32_t length)
{
    gLinkRefused = length < 0 || static_cast<std::size_t>(length) > kReplayMaxBytes;
    gLinkText.clear();
    if (gLinkRefused) {
        gLinkError = ReplayTooLarge(static_cast<std::uint64_t>(std::max<std::int64_t>(length, 0)));
        return nullptr;
    }
    gLinkText.assign(static_cast<std::size_t>(length), '\0');
    return gLinkText.data();
}

RUVO_EXPORT(ruvo_watch_link) std::int32_t RuvoWatchLink(std::int32_t race)
{
    if (!gLinkRefused && LiveWindow() == nullptr)
        gLinkError = "the game has ended";
    else if (!gLinkRefused)
        gLinkError = race != 0 ? RaceReplay(*Machine().record, gLinkText) : WatchReplay(*Machine().record, gLinkText);
    gLinkRefused = false;
    gLinkText.clear();
    return static_cast<std::int32_t>(gLinkError.size());
}

RUVO_EXPORT(ruvo_link_error) const char* RuvoLinkError()
{
    return gLinkError.c_str();
}

// Room for the call stacks that a suspended call leaves behind while the
// player answers a dialog; the page hands them out, one per open dialog.
namespace {
constexpr std::size_t kSuspendAreas = 4;
constexpr std::size_t kSuspendAreaBytes = 64 * 1024;
alignas(16) std::uint8_t gSuspendAreas[kSuspendAreas][kSuspendAreaBytes];
} // namespace

RUVO_EXPORT(ruvo_suspend_area) std::uint8_t* RuvoSuspendArea(std::int32_t index)
{
    return index >= 0 && static_cast<std::size_t>(index) < kSuspendAreas ? gSuspendAreas[index] : nullptr;
}

RUVO_EXPORT(ruvo_suspend_area_bytes) std::int32_t RuvoSuspendAreaBytes()
{
    return static_cast<std::int32_t>(kSuspendAreaBytes);
}
