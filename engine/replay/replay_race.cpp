// A race against a replay's ghost, and the day's challenge.
// SPDX-License-Identifier: MIT
#include "replay/replay_race.h"

#include <cctype>

#include "game/drawing.h"
#include "game/flow.h"
#include "game/window.h"
#include "replay/daily.h"
#include "replay/replay_play.h"
#include "replay/replay_record.h"
#include "replay/replay_watch.h"
#include "settings/dialog_logic.h"
#include "settings/options.h"

namespace ruvo {
namespace {

// The scenery two games show: the same round, the same columns at the same
// places, and the same scroll.
bool SameScenery(const Game& a, const Game& b)
{
    if (a.round != b.round || a.scrollX != b.scrollX)
        return false;
    for (std::size_t i = 0; i < kStageColumns; ++i) {
        const SceneryColumn* ca = ColumnAt(a.picture, i);
        const SceneryColumn* cb = ColumnAt(b.picture, i);
        if ((ca == nullptr) != (cb == nullptr) || (ca != nullptr && !(*ca == *cb)))
            return false;
    }
    return true;
}

std::int64_t Lead(const GameRecord& record)
{
    return static_cast<std::int64_t>(record.game.score) - record.race->ghost.game.score;
}

void ShowCaption(GameRecord& record)
{
    if (!record.race || record.hwndMain == nullptr)
        return;
    // The caption changes only with the lead (a text a tick costs).
    if (!record.race->caption.empty() && Lead(record) == record.race->lead)
        return;
    record.race->lead = Lead(record);
    std::string caption = RaceCaption(record);
    if (caption != record.race->caption) {
        record.hwndMain->ShowCaption(caption);
        record.race->caption = std::move(caption);
    }
}

std::string Sentence(std::string text)
{
    if (!text.empty())
        text.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
    return text;
}

std::string Result(const ReplayRace& race, std::uint32_t mine)
{
    const std::uint32_t theirs = race.rivalScore;
    const std::string scores = std::to_string(mine) + " to " + std::to_string(theirs) + ".";
    if (mine > theirs)
        return "You won the race against " + race.rival + " by " + std::to_string(mine - theirs) + " points, " + scores;
    if (mine < theirs)
        return Sentence(race.rival) + " won the race by " + std::to_string(theirs - mine) + " points, " + scores;
    return "The race against " + race.rival + " is a tie, " + std::to_string(mine) + " points each.";
}

// The window's game set to play with a start's options, the player's own
// kept aside (once: a race started from a daily game keeps the player's).
void PlayWithOptions(GameRecord& record, const std::array<std::uint32_t, 8>& options)
{
    if (!record.ownOptions) {
        std::array<std::uint32_t, 8> own{};
        for (std::size_t row = 0; row < own.size(); ++row)
            own[row] = OptionBits(record.game, row);
        record.ownOptions = own;
    }
    for (std::size_t row = 0; row < options.size(); ++row)
        SetOptionBits(record.game, row, options[row]);
}

// The window's game started, recorded from its start, for a day's
// challenge when challenge names one and for a board when token does.
void StartRecordedGame(GameRecord& record, const std::string& challenge, const std::string& token = {})
{
    BeginRecording(record);
    record.replayLog.start.challenge = challenge;
    record.replayLog.start.token = token;
    StartGame(record.game);
}

} // namespace

std::string RaceReplay(GameRecord& record, std::string_view text)
{
    return AskForReplay(record, text, true);
}

void StartRace(GameRecord& record, Replay replay)
{
    EndWatch(record);
    Game& game = record.game;
    PlayWithOptions(record, replay.start.options);
    game.program = replay.start.program;
    auto race = std::make_unique<ReplayRace>();
    race->rival = replay.result.name.empty() ? "the replay" : replay.result.name;
    race->rivalScore = replay.result.score;
    const std::string challenge = replay.start.challenge;
    BeginReplayPlay(race->ghost, std::move(replay));
    race->ghost.game.requests.clear();
    record.race = std::move(race);
    StartRecordedGame(record, challenge);
    DrawGame(record.drawing, game);
    DrawRace(record);
    ServeRequests(record, game);
    ShowCaption(record);
}

void StepRace(GameRecord& record)
{
    if (!record.race)
        return;
    ReplayPlay& ghost = record.race->ghost;
    // The ghost waits while the player's game is paused, so that the two
    // go on side by side (its own pauses are in its replay).
    if (!ghost.ended && record.game.paused == 0) {
        StepReplayPlay(ghost);
        ghost.game.requests.clear();
    }
    ShowCaption(record);
}

void FinishRace(GameRecord& record)
{
    if (!record.race || (record.game.state & StateTitle) == 0)
        return;
    const std::unique_ptr<ReplayRace> race = std::move(record.race);
    HideGhost(record.drawing);
    if (record.hwndMain != nullptr)
        record.hwndMain->ShowCaption(kWindowTitle);
    if (record.host.dialogs != nullptr) {
        const OpenDialog open(record);
        record.host.dialogs->ShowNote(Result(*race, record.game.score));
    }
}

void DrawRace(GameRecord& record)
{
    const ReplayRace* race = record.race.get();
    if (race != nullptr && !race->ghost.ended && (record.game.state & StateTitle) == 0 &&
        SameScenery(record.game, race->ghost.game))
        DrawGhost(record.drawing, race->ghost.game);
    else
        HideGhost(record.drawing);
}

std::string RaceCaption(const GameRecord& record)
{
    if (!record.race)
        return {};
    const ReplayRace& race = *record.race;
    const auto lead = static_cast<std::int64_t>(record.game.score) - race.ghost.game.score;
    return std::string(kWindowTitle) + " - RACE vs " + race.rival + ' ' + (lead >= 0 ? "+" : "") + std::to_string(lead);
}

void StartDailyGame(GameRecord& record, const Day& day)
{
    if ((record.game.state & StateTitle) == 0)
        return;
    Game& game = record.game;
    game.program = DailyProgram(day);
    PlayWithOptions(record, DailyOptions());
    StartRecordedGame(record, DayText(day));
}

void RestoreOwnOptions(GameRecord& record)
{
    if (!record.ownOptions)
        return;
    for (std::size_t row = 0; row < record.ownOptions->size(); ++row)
        SetOptionBits(record.game, row, (*record.ownOptions)[row]);
    record.ownOptions.reset();
}

void StartBoardGame(GameRecord& record, const ReplayStart& start)
{
    if ((record.game.state & StateTitle) == 0)
        return;
    Game& game = record.game;
    game.program = start.program;
    PlayWithOptions(record, start.options);
    StartRecordedGame(record, start.challenge, start.token);
}

} // namespace ruvo
