// A replay played again on a game of its own, tick by tick.
// SPDX-License-Identifier: MIT
#include "replay/replay_play.h"

#include "audio/audio.h"
#include "game/flow.h"
#include "game/grid.h"
#include "game/jumper.h"
#include "game/window.h"
#include "settings/defaults.h"
#include "settings/dialog_logic.h"
#include "settings/highscore.h"
#include "settings/options.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

void Give(ReplayPlay& play, const ReplayCommand& command, GameRecord* shell)
{
    const bool switches = shell != nullptr && !play.playerSwitches;
    switch (command.action) {
    case ReplayAction::Dive:
        Dive(play.game);
        break;
    case ReplayAction::Pause:
        PauseGame(play.game);
        break;
    case ReplayAction::Sound:
        if (switches)
            SwitchSound(*shell);
        break;
    case ReplayAction::Music:
        if (switches)
            SwitchMusic(*shell, play.game);
        break;
    case ReplayAction::Name:
        play.typedName = command.name;
        break;
    }
}

// The game over's check against the table, the name dialog answered with
// the name the replay typed. The table itself is the live game's to change.
void AnswerNameDialog(ReplayPlay& play)
{
    Game& game = play.game;
    if (HighScoreRow(game, game.score) > 4)
        return;
    SelectMusic(game, MusicHighScore);
    StoreEntryName(game, play.typedName);
    play.typedName.clear();
}

} // namespace

ReplayStart CaptureStart(const Game& game, std::int32_t soundOn, std::int32_t musicOn)
{
    ReplayStart start;
    start.program = game.program;
    for (std::size_t row = 0; row < start.options.size(); ++row)
        start.options[row] = OptionBits(game, row);
    start.scores = game.hiScores;
    start.soundOn = soundOn;
    start.musicOn = musicOn;
    return start;
}

void ApplyStart(Game& game, const ReplayStart& start)
{
    for (std::size_t row = 0; row < start.options.size(); ++row)
        SetOptionBits(game, row, start.options[row]);
    game.hiScores = start.scores;
    game.program = start.program;
}

void BeginReplayPlay(ReplayPlay& play, Replay replay)
{
    Game& game = play.game;
    game = Game{};
    // The window's creation: defaults, the grid, the title.
    GameDefaults(game);
    AllocGrid(game);
    InitTitle(game);
    // What the title asked for is no part of the replay's game.
    game.requests.clear();
    ApplyStart(game, replay.start);
    play.commands = std::move(replay.commands);
    play.next = 0;
    play.lastTick = replay.result.ticks;
    play.typedName.clear();
    play.entersTable = false;
    play.ended = false;
    play.result = {};
    StartGame(game);
}

void NoteBeforeTick(const Game& game, ReplayResult& result, bool& entersTable)
{
    result.round = game.round;
    if (game.state == kGameOverBannerWord)
        entersTable = HighScoreRow(game, game.score) <= 4;
}

bool GameEndedIn(const Game& game, std::uint32_t tick, ReplayResult& result, bool entersTable)
{
    result.ticks = tick;
    result.score = game.score;
    if ((game.state & StateTitle) == 0)
        return false;
    result.name = entersTable ? std::string(NameText(game.entryName)) : std::string();
    return true;
}

bool StepReplayPlay(ReplayPlay& play, GameRecord* shell)
{
    if (play.ended)
        return false;
    Game& game = play.game;
    const std::uint32_t tick = play.result.ticks + 1;
    for (; play.next < play.commands.size() && play.commands[play.next].tick <= tick; ++play.next)
        Give(play, play.commands[play.next], shell);
    NoteBeforeTick(game, play.result, play.entersTable);
    if (GameTick(game) == TickEnd::GameOver) {
        AnswerNameDialog(play);
        InitTitle(game);
    }
    play.ended = GameEndedIn(game, tick, play.result, play.entersTable) || tick >= play.lastTick;
    return !play.ended;
}

} // namespace ruvo
