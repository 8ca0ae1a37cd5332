// Playing for a board: the address, the start, the replay's fitness, and the
// board's answer told.
// SPDX-License-Identifier: MIT
#include "replay/board_client.h"

#include <cctype>
#include <optional>

#include "replay/replay_file.h"
#include "replay/replay_race.h"
#include "replay/replay_watch.h"

namespace ruvo {
namespace {

// The text of "key": in a board's flat JSON object, numbers as their digits,
// strings with their escapes read (\uXXXX below 0x80 only; the board sends
// other characters as they are). Nothing when the key is not there.
std::optional<std::string> JsonField(std::string_view body, std::string_view key)
{
    const std::string quoted = '"' + std::string(key) + "\":";
    const std::size_t at = body.find(quoted);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::size_t i = at + quoted.size();
    while (i < body.size() && body[i] == ' ')
        ++i;
    std::string value;
    if (i < body.size() && body[i] == '"') {
        for (++i; i < body.size() && body[i] != '"'; ++i) {
            char c = body[i];
            if (c == '\\' && i + 1 < body.size()) {
                c = body[++i];
                if (c == 'n' || c == 't' || c == 'r')
                    c = ' ';
                else if (c == 'u') {
                    unsigned code = 0;
                    for (int k = 0;
                         k < 4 && i + 1 < body.size() && std::isxdigit(static_cast<unsigned char>(body[i + 1])) != 0;
                         ++k)
                        code =
                            code * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(body[++i])) != 0
                                                                  ? body[i] - '0'
                                                                  : (body[i] | 0x20) - 'a' + 10);
                    c = code >= 0x20 && code < 0x80 ? static_cast<char>(code) : '?';
                }
            }
            value += c;
        }
        return value;
    }
    while (i < body.size() && (std::isdigit(static_cast<unsigned char>(body[i])) != 0 || body[i] == '-'))
        value += body[i++];
    if (value.empty())
        return std::nullopt;
    return value;
}

// A one-line reason as the board gave it, cut short and with no control
// character, so that a strange board cannot fill a message box.
std::string Tidy(std::string text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    constexpr std::size_t kLongest = 200;
    if (text.size() > kLongest)
        text = text.substr(0, kLongest) + "...";
    return text;
}

} // namespace

std::string CheckBoardAddress(std::string_view address, std::string& normal)
{
    normal.clear();
    if (address.empty())
        return {};
    if (address.size() > kBoardAddressMaxBytes)
        return "a board's address is at most " + std::to_string(kBoardAddressMaxBytes) + " characters";
    for (std::size_t i = 0; i < address.size(); ++i) {
        const auto c = static_cast<unsigned char>(address[i]);
        if (c <= 0x20 || c >= 0x7F)
            return "a board's address has no spaces or special characters (at character " + std::to_string(i + 1) + ")";
    }
    std::string_view rest;
    if (address.starts_with("http://"))
        rest = address.substr(7);
    else if (address.starts_with("https://"))
        rest = address.substr(8);
    else
        return "a board's address starts with http:// or https://";
    const std::string_view host = rest.substr(0, rest.find('/'));
    if (host.empty() || host.front() == ':' || host.find_first_of("?#@") != std::string_view::npos)
        return "a board's address names its machine after http:// or https://";
    normal = address;
    while (normal.back() == '/')
        normal.pop_back();
    return {};
}

std::string BoardUrl(std::string_view address, std::string_view path)
{
    return std::string(address) + std::string(path);
}

std::string PlayBoardStart(GameRecord& record, std::string_view text)
{
    std::string error;
    std::optional<Replay> start = ReadReplayStart(text, error);
    if (!start)
        return "the board's answer is not a start: " + error;
    if (start->start.token.empty())
        return "the board's start has no token";
    if (!OnTitle(record))
        return "a game for the board starts on the title screen only";
    if (record.dialogsOpen > 0) {
        record.pendingReplay = std::make_unique<PendingReplay>(PendingReplay{std::move(*start), false, true});
        return {};
    }
    record.pendingReplay.reset();
    EndWatch(record);
    StartBoardGame(record, start->start);
    return {};
}

std::string BoardSendRefusal(std::string_view replayText)
{
    std::string error;
    const std::optional<Replay> replay = ReadReplay(replayText, error);
    if (!replay)
        return "This replay cannot be read: " + error;
    if (replay->start.token.empty())
        return "This game was not played for a board, so no board can take it. Choose Board... and Play for "
               "the Board, then send that game.";
    return {};
}

std::string BoardAnswerNote(int status, std::string_view body)
{
    if (status == 0)
        return "The board could not be reached: " + Tidy(std::string(body));
    if (status == 201) {
        const auto rank = JsonField(body, "rank");
        const auto score = JsonField(body, "score");
        if (rank && score)
            return "The board took your game: " + *score + " points, rank " + *rank + ".";
        return "The board took your game.";
    }
    const std::optional<std::string> reason = JsonField(body, "error");
    const std::string why = reason ? Tidy(*reason) : "it answered " + std::to_string(status);
    if (status == 409)
        return "The board already has this game: " + why;
    if (status == 429)
        return "The board is busy with this address; try again in a minute: " + why;
    return "The board did not take this game: " + why;
}

} // namespace ruvo
