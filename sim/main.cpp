// ruvo-sim: the real game engine without a window, without sound and without
// the user's settings, driven by a script and traced tick by tick.
// SPDX-License-Identifier: MIT
#include <sys/stat.h>
#ifdef _WIN32
#include <direct.h>
#endif

#include <cerrno>
#include <cstdio>
#include <utility>

#include "game/drawing.h"
#include "game/flow.h"
#include "render/surface.h"
#include "replay/daily.h"
#include "replay/replay_file.h"
#include "replay/replay_keep.h"
#include "replay/replay_play.h"
#include "resources/embedded.h"
#include "settings/dialog_logic.h"
#include "settings/options.h"
#include "sim/frame_text.h"
#include "sim/headless_game.h"
#include "sim/png.h"
#include "sim/settings_file.h"
#include "sim/sim_options.h"
#include "sim/trace.h"
#include "sim/verify.h"

namespace {

using namespace ruvo;

// The settings file is read as the game reads its own on Linux; saves stay in memory.
void LoadSettingsFile(const std::string& path, MemorySettings& store)
{
    for (auto& [key, value] : sim::ReadSettingsFile(path))
        store.values[key] = std::move(value);
}

// Makes one folder: POSIX mkdir, or Windows' own, which takes no mode.
int MakeFolder(const std::string& path)
{
#ifdef _WIN32
    return _mkdir(path.c_str());
#else
    return mkdir(path.c_str(), 0777);
#endif
}

// Makes the folder and those above it that are missing (as WASI has no
// std::filesystem); true when the folder is there.
bool MakeDirectories(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        MakeFolder(path.substr(0, slash));
    if (MakeFolder(path) != 0 && errno != EEXIST)
        return false;
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void ApplyOptions(GameRecord& record, const std::vector<sim::OptionSetting>& options)
{
    for (const sim::OptionSetting& option : options)
        if (const std::optional<std::size_t> row = OptionByName(option.name))
            SetOptionBits(record.game, *row, ParseDialogInt(option.value, kOptionRows[*row].isSigned));
    InitTitle(record.game);
    Settle(record);
}

// --from: the options, the table's scores and the switches of a replay's
// start (or a board's start file), the title restarted with them, and then
// the program's values it started from, so that a game started next starts
// as the replay's did. A board's token is kept in board for the first start.
int StartFrom(GameRecord& record, const std::string& path, std::optional<ReplayStart>& board)
{
    std::string text, error;
    std::optional<Replay> replay;
    if (sim::ReadFileWithin(path, kReplayMaxBytes, text, error))
        replay = ReadReplayStart(text, error);
    if (!replay) {
        std::fprintf(stderr, "ruvo-sim: %s: %s\n", path.c_str(), error.c_str());
        return 2;
    }
    const ReplayStart& start = replay->start;
    ApplyStart(record.game, start);
    record.soundOn = start.soundOn;
    record.musicOn = start.musicOn;
    InitTitle(record.game);
    Settle(record);
    record.game.program = start.program;
    if (!start.token.empty())
        board = start;
    return 0;
}

// A start races the replay in race, once, or plays for the board whose start
// is in board, once; with daily, every other start is that day's.
void Deliver(HeadlessGame& game, const sim::ScriptCommand& command, const std::optional<Day>& daily, std::string& race,
             std::optional<ReplayStart>& board)
{
    if (command.command == "start" && !race.empty())
        game.Race(std::exchange(race, {}));
    else if (command.command == "start" && board)
        game.StartBoard(*std::exchange(board, std::nullopt));
    else if (command.command == "start" && daily)
        game.StartDaily(*daily);
    else if (command.command == "start")
        game.Command(IDM_START);
    else if (command.command == "pause")
        game.Command(IDM_PAUSE);
    else if (command.command == "sound")
        game.Command(IDM_SOUND);
    else if (command.command == "music")
        game.Command(IDM_MUSIC);
    else if (command.command == "dive")
        game.Click();
    else if (command.command == "name")
        game.dialogs.nextName = command.argument;
}

void WriteFrame(GameRecord& record, const std::string& dir, std::uint64_t k)
{
    // The frame as the window shows it: a race's ghost over the game's own.
    const Surface* shown = ShownFrame(record.drawing);
    if (shown == nullptr)
        return;
    const Surface& frame = *shown;
    // A frame that cannot be written is skipped, as the run goes on.
    sim::WritePng(dir + "/frame-" + std::to_string(k) + ".png", frame.Width(), frame.Height(), frame.Pixels());
}

// --record: the last game's replay, as the game keeps it.
int WriteReplayFile(HeadlessGame& game, const std::string& path)
{
    std::string text;
    if (!game.replays.Read(kLastGameReplay, text)) {
        std::fprintf(stderr, "ruvo-sim: no game ended, so no replay for %s\n", path.c_str());
        return 2;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != nullptr && std::fclose(file) != 0)
        written = false;
    if (!written) {
        std::fprintf(stderr, "ruvo-sim: cannot write %s\n", path.c_str());
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<sim::RunSettings> run = sim::ParseCommandLine(args, error);
    if (!run) {
        std::fprintf(stderr, "ruvo-sim: %s\n", error.c_str());
        return 2;
    }
    if (!run->verifyFiles.empty())
        return sim::VerifyFiles(run->verifyFiles, run->jobs != 0 ? run->jobs : sim::ProcessorCount());
    EmbeddedResources resources;
    const std::unique_ptr<TextRenderer> text = sim::MakeFrameText(argc, argv);

    HeadlessGame game(text.get(), &resources);
    if (run->settingsFile)
        LoadSettingsFile(*run->settingsFile, game.settings);
    game.Start();
    GameRecord& record = game.Record();
    if (!run->options.empty())
        ApplyOptions(record, run->options);
    std::optional<ReplayStart> board;
    if (run->fromFile && StartFrom(record, *run->fromFile, board) != 0)
        return 2;
    if (run->framesDir && !MakeDirectories(*run->framesDir)) {
        std::fprintf(stderr, "ruvo-sim: cannot make the folder %s\n", run->framesDir->c_str());
        return 2;
    }

    const std::optional<Day> daily = run->dailyDay ? ParseDay(*run->dailyDay) : std::nullopt;
    std::string race;
    if (run->raceFile) {
        std::string why;
        std::optional<Replay> replay;
        if (sim::ReadFileWithin(*run->raceFile, kReplayMaxBytes, race, why))
            replay = ReadReplay(race, why);
        if (!replay) {
            std::fprintf(stderr, "ruvo-sim: %s: %s\n", run->raceFile->c_str(), why.c_str());
            return 2;
        }
    }
    // The first trace line also reports what start-up played.
    sim::PlayedSince played;
    std::size_t next = 0;
    std::string out;
    for (std::uint64_t k = 1; k <= run->ticks; ++k) {
        while (next < run->script.size() && run->script[next].tick == k)
            Deliver(game, run->script[next++], daily, race, board);
        game.Tick();
        if (run->trace) {
            out += sim::TraceLine(k, record, played.Effects(game.wave, record), played.Music(game.music));
            out += '\n';
            if (out.size() > (1u << 16)) {
                std::fwrite(out.data(), 1, out.size(), stdout);
                out.clear();
            }
        }
        if (run->framesDir && k % run->every == 0)
            WriteFrame(record, *run->framesDir, k);
    }
    out += sim::HighScoreLines(record);
    out += "saves=" + std::to_string(game.settings.saves) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    if (run->recordFile)
        return WriteReplayFile(game, *run->recordFile);
    return 0;
}
