// mkwebtables: writes what the page shares with every other platform - the
// menu bar, its accelerators, the commands and the character the page gives
// itself, the timer's shortest period, the music files, the game's two fonts
// the dialogs' control kinds and style bits, the replay's size limit with
// the engine's words for a refusal, and the most the page reads of a board's
// answer - as a JavaScript module, from the engine's
// own tables, so that the page keeps no copy of its own. The web build runs
// it under Node.
//
//   usage: mkwebtables OUT_FILE.js
// SPDX-License-Identifier: MIT
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "app/menu_table.h"
#include "app/shell.h"
#include "audio/tracks.h"
#include "game/fonts.h"
#include "replay/board_client.h"
#include "replay/replay_file.h"
#include "replay/replay_record.h"
#include "settings/dialog_templates.h"

namespace {

using namespace ruvo;

std::string Quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// A label as the page shows it: without its '&', and the letter that
// followed it, which the page underlines.
void WriteLabel(std::ostream& out, std::string_view label)
{
    std::string text;
    std::string access;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size() && access.empty())
            access = label[i + 1];
        else
            text += label[i];
    }
    out << "\"label\": " << Quoted(text) << ", \"access\": " << Quoted(access);
}

// The name the browser gives a key (KeyboardEvent.key).
std::string_view KeyName(Key key)
{
    switch (key) {
    case Key::F1:
        return "F1";
    case Key::F2:
        return "F2";
    case Key::F3:
        return "F3";
    case Key::F4:
        return "F4";
    case Key::F5:
        return "F5";
    case Key::F8:
        return "F8";
    case Key::F10:
        return "F10";
    case Key::F11:
        return "F11";
    case Key::Plus:
        return "+";
    case Key::Equal:
        return "=";
    case Key::Minus:
        return "-";
    case Key::Digit0:
        return "0";
    case Key::Return:
    case Key::Enter:
        return "Enter";
    }
    return "";
}

// The page sizes its field itself: it shows no View pop-up, and takes none
// of the window's keys.
void WriteMenu(std::ostream& out)
{
    out << "export const MENU = [\n";
    for (const MenuPopup& popup : GameMenuBar()) {
        if (popup.viewOnly)
            continue;
        out << "    { ";
        WriteLabel(out, popup.title);
        out << ", \"items\": [\n";
        for (const MenuEntry& item : popup.items) {
            if (item.id == 0) {
                out << "        null,\n";
                continue;
            }
            out << "        { \"id\": " << item.id << ", ";
            WriteLabel(out, LabelText(item.label));
            out << ", \"hint\": " << Quoted(KeyHint(item.label)) << " },\n";
        }
        out << "    ] },\n";
    }
    out << "];\n\n";
    // The keys with no Shift, Ctrl or Alt that give the game's own commands.
    out << "export const ACCELERATORS = new Map([";
    for (const Accelerator& accelerator : GameAccelerators())
        if (accelerator.modifiers == kNoModifiers && accelerator.command <= IDM_EXIT)
            out << "[" << Quoted(KeyName(accelerator.key)) << ", " << accelerator.command << "], ";
    out << "]);\n\n";
    out << "export const COMMANDS = { START: " << IDM_START << ", PAUSE: " << IDM_PAUSE << ", BOARD: " << IDM_BOARD
        << " };\n\n";
    out << "export const DIVE_CHARACTER = " << kDiveCharacter << ";\n\n";
}

void WriteTimerAndMusic(std::ostream& out)
{
    out << "export const SHORTEST_TIMER_MS = " << kShortestTimerMs << ";\n\n";
    out << "export const TRACKS = [";
    for (const char* file : kMusicFiles)
        out << Quoted(file) << ", ";
    out << "];\n\n";
}

// The fonts the game asks for as it starts: the page sizes them while the
// game's module is still on its way, rather than in the game's start.
void WriteFonts(std::ostream& out)
{
    out << "export const FONTS = [";
    for (const FontRequest& request : {TextFontRequest(), LogoFontRequest()})
        out << "{ \"height\": " << request.height << ", \"weight\": " << request.weight
            << ", \"face\": " << Quoted(request.faceName) << " }, ";
    out << "];\n\n";
}

void WriteDialogs(std::ostream& out)
{
    out << "export const CONTROL_KIND = { TEXT: " << static_cast<int>(ControlKind::Text)
        << ", ICON: " << static_cast<int>(ControlKind::Icon) << ", EDIT: " << static_cast<int>(ControlKind::Edit)
        << ", BUTTON: " << static_cast<int>(ControlKind::Button) << " };\n";
    out << "export const CONTROL_STYLE = { CENTRED: " << kCentred << ", RIGHT_ALIGNED: " << kRightAligned
        << ", CENTRED_VERTICALLY: " << kCentredVertically << ", SUNKEN: " << kSunken
        << ", DEFAULT_BUTTON: " << kDefaultButton << " };\n";
    out << "export const DIALOG_ANSWER = { OK: " << kOkId << ", CANCEL: " << kCancelId << " };\n";
    out << "export const DIALOG_FONT_PIXELS = " << kDialogFontPixels << ";\n";
}

// The largest replay any reader of the page takes, and the engine's own
// words for a refusal, with the size the page gives it put in its place
// (false when the words hold no size); the most it reads of a board's answer.
bool WriteReplayLimits(std::ostream& out)
{
    constexpr std::uint64_t kMarker = 987654321987654321;
    const std::string tooLarge = ReplayTooLarge(kMarker);
    const std::string marker = std::to_string(kMarker);
    const std::size_t at = tooLarge.find(marker);
    if (at == std::string::npos)
        return false;
    out << "export const REPLAY_MAX_BYTES = " << kReplayMaxBytes << ";\n";
    out << "export const replayTooLarge = (bytes) => " << Quoted(tooLarge.substr(0, at)) << " + bytes + "
        << Quoted(tooLarge.substr(at + marker.size())) << ";\n";
    out << "export const REPLAY_NOT_KEPT = " << Quoted(kReplayNotKept) << ";\n";
    out << "export const BOARD_ANSWER_MAX_BYTES = " << kBoardAnswerMaxBytes << ";\n";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: mkwebtables OUT_FILE.js\n";
        return 2;
    }
    std::ostringstream text;
    text << "// Written by mkwebtables from the engine's tables (app/menu_table.cpp, app/shell.h,\n"
            "// audio/tracks.h, game/fonts.cpp, settings/dialog_templates.h,\n"
            "// app/replay_file.h, app/replay_record.h): every platform shares them.\n\n";
    WriteMenu(text);
    WriteTimerAndMusic(text);
    WriteFonts(text);
    WriteDialogs(text);
    if (!WriteReplayLimits(text)) {
        std::cerr << "mkwebtables: the refusal of a large replay names no size\n";
        return 1;
    }
    // stdio: WebAssembly's C++ library has no file streams.
    const std::string bytes = text.str();
    std::FILE* file = std::fopen(argv[1], "wb");
    const bool written = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file == nullptr || std::fclose(file) != 0 || !written) {
        std::cerr << "mkwebtables: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
