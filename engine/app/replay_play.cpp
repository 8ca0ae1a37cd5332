// A replay played again on a game record of its own, tick by tick.
// SPDX-License-Identifier: MIT
#include "app/replay_play.h"

#include "app/shell.h"
#include "audio/audio.h"
#include "game/flow.h"
#include "game/fonts.h"
#include "game/graphics.h"
#include "game/jumper.h"
#include "game/surfaces.h"
#include "settings/defaults.h"
#include "settings/dialog_logic.h"
#include "settings/highscore.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

// The name dialog answered with the name the replay typed; nothing else opens.
class ReplayDialogs final : public DialogHost {
  public:
    explicit ReplayDialogs(ReplayPlay& play) : play_(play) {}
    int RunAbout() override { return 0; }
    int RunOption(GameRecord&) override { return 0; }
    int RunHighScore(GameRecord&) override { return 0; }
    int RunInput(GameRecord& record) override
    {
        StoreEntryName(record, play_.typedName);
        play_.typedName.clear();
        return 0;
    }

  private:
    ReplayPlay& play_;
};

void Give(ReplayPlay& play, const ReplayCommand& command)
{
    GameRecord& record = *play.game;
    switch (command.action) {
    case ReplayAction::Dive:
        Dive(record);
        break;
    case ReplayAction::Pause:
        RunCommand(record, IDM_PAUSE);
        break;
    case ReplayAction::Sound:
        if (!play.playerSwitches)
            RunCommand(record, IDM_SOUND);
        break;
    case ReplayAction::Music:
        if (!play.playerSwitches)
            RunCommand(record, IDM_MUSIC);
        break;
    case ReplayAction::Name:
        play.typedName = command.name;
        break;
    }
}

} // namespace

ReplayStart CaptureStart(const GameRecord& record)
{
    ReplayStart start;
    start.program = Program();
    start.options = {
        record.optRound, record.optGameLevel,  record.optBossLevel,  record.optDistance,
        record.optSpeed, record.optHarryLevel, record.optHarrySpeed, static_cast<std::uint32_t>(record.optDamage)};
    start.scores = record.hiScores;
    start.soundOn = record.soundOn;
    start.musicOn = record.musicOn;
    return start;
}

void ApplyStart(GameRecord& record, const ReplayStart& start)
{
    const std::array<std::uint32_t, 8>& o = start.options;
    record.optRound = o[0];
    record.optGameLevel = o[1];
    record.optBossLevel = o[2];
    record.optDistance = o[3];
    record.optSpeed = o[4];
    record.optHarryLevel = o[5];
    record.optHarrySpeed = o[6];
    record.optDamage = static_cast<std::int32_t>(o[7]);
    record.hiScores = start.scores;
    record.soundOn = start.soundOn;
    record.musicOn = start.musicOn;
    Program() = start.program;
}

void BeginReplayPlay(ReplayPlay& play, Replay replay, const ReplaySetup& setup)
{
    EndReplayPlay(play);
    play.game = std::make_unique<GameRecord>();
    play.dialogs = std::make_unique<ReplayDialogs>(play);
    GameRecord& record = *play.game;
    record.host.text = setup.host.text;
    record.host.wave = setup.host.wave;
    record.host.music = setup.host.music;
    record.host.dialogs = play.dialogs.get();
    // Start-up's steps, without a window system.
    record.hInstance = setup.resources;
    record.fieldWidth = kFieldWidth;
    record.fieldHeight = kFieldHeight;
    record.stageWidth = record.fieldWidth + 64;
    record.stageHeight = record.fieldHeight + 64;
    CreateFonts(record);
    LoadGraphics(record);
    play.borrowedMusic = setup.live != nullptr;
    if (setup.live != nullptr) {
        record.musicReady = setup.live->musicReady;
        record.musicHandles = setup.live->musicHandles;
    } else {
        OpenMusic(record);
        LoadMusic(record);
    }
    record.hwndMain = setup.window;
    // The window's creation: defaults (no settings of the player's), surfaces, the title.
    InitDefaults(record);
    CreateSurfaces(record);
    InitTitle(record);

    ApplyStart(record, replay.start);
    play.playerSwitches = setup.live != nullptr;
    if (play.playerSwitches) {
        record.soundOn = setup.live->soundOn;
        record.musicOn = setup.live->musicOn;
    }
    play.commands = std::move(replay.commands);
    play.next = 0;
    play.lastTick = replay.result.ticks;
    play.typedName.clear();
    play.entersTable = false;
    play.ended = false;
    play.result = {};
    RunCommand(record, IDM_START);
}

void NoteBeforeTick(const GameRecord& record, ReplayResult& result, bool& entersTable)
{
    result.round = record.round;
    if (record.state == kGameOverBannerWord)
        entersTable = HighScoreRow(record, record.score) <= 4;
}

bool GameEndedIn(const GameRecord& record, std::uint32_t tick, ReplayResult& result, bool entersTable)
{
    result.ticks = tick;
    result.score = record.score;
    if ((record.state & StateTitle) == 0)
        return false;
    result.name = entersTable ? std::string(NameText(record.entryName)) : std::string();
    return true;
}

bool StepReplayPlay(ReplayPlay& play)
{
    if (play.ended || !play.game)
        return false;
    GameRecord& record = *play.game;
    const std::uint32_t tick = play.result.ticks + 1;
    for (; play.next < play.commands.size() && play.commands[play.next].tick <= tick; ++play.next)
        Give(play, play.commands[play.next]);
    NoteBeforeTick(record, play.result, play.entersTable);
    GameTick(record);
    play.ended = GameEndedIn(record, tick, play.result, play.entersTable) || tick >= play.lastTick;
    return !play.ended;
}

void EndReplayPlay(ReplayPlay& play)
{
    if (!play.game)
        return;
    GameRecord& record = *play.game;
    // The close steps and shut-down's, but for the tracks another record owns.
    DestroySurfaces(record);
    if (!play.borrowedMusic) {
        CloseMusic(record);
        FreeMusic(record);
    }
    FreeGraphics(record);
    DeleteFonts(record);
    play.game.reset();
    play.dialogs.reset();
}

} // namespace ruvo
