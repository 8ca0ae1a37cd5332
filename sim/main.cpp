// ruvo-sim: the real game engine without a window, without sound and without
// the user's settings, driven by a script and traced tick by tick.
#include <QGuiApplication>
#include <QImage>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "game/flow.h"
#include "headless/headless_game.h"
#include "platform/desktop/qt_text.h"
#include "resources/embedded.h"
#include "sim/sim_options.h"
#include "sim/trace.h"
#include "settings/dialog_logic.h"

namespace {

using namespace ruvo;

// The settings file is read as the game reads its own on Linux; saves stay in memory.
void LoadSettingsFile(const std::string& path, MemorySettings& store)
{
    if (!std::filesystem::exists(path))
        return;
    QSettings file(QString::fromStdString(path), QSettings::IniFormat);
    for (const QString& key : file.allKeys())
        store.values[key.toStdString()] = file.value(key).toString().toStdString();
}

void ApplyOptions(GameRecord& record, const std::vector<sim::OptionSetting>& options)
{
    std::uint32_t* fields[] = {&record.optRound,    &record.optGameLevel,  &record.optBossLevel, &record.optDistance,
                               &record.optSpeed,    &record.optHarryLevel, &record.optHarrySpeed};
    const char* names[] = {"optRound",    "optGameLevel",  "optBossLevel", "optDistance",
                           "optSpeed",    "optHarryLevel", "optHarrySpeed"};
    for (const sim::OptionSetting& option : options) {
        if (option.name == "optDamage") {
            record.optDamage = static_cast<std::int32_t>(ParseDialogInt(option.value, true));
            continue;
        }
        for (std::size_t i = 0; i < 7; ++i)
            if (option.name == names[i])
                *fields[i] = ParseDialogInt(option.value, false);
    }
    InitTitle(record);
}

void Deliver(HeadlessGame& game, const sim::ScriptCommand& command)
{
    if (command.command == "start")
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

void WriteFrame(const GameRecord& record, const std::string& dir, std::uint64_t k)
{
    if (!record.frameBitmap)
        return;
    const Surface& frame = *record.frameBitmap;
    QImage image(frame.Width(), frame.Height(), QImage::Format_RGB32);
    for (std::int32_t y = 0; y < frame.Height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (std::int32_t x = 0; x < frame.Width(); ++x)
            line[x] = 0xFF000000u | frame.At(x, y);
    }
    image.save(QString::fromStdString(dir + "/frame-" + std::to_string(k) + ".png"));
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
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);

    EmbeddedResources resources;
    QtTextRenderer text;
    HeadlessGame game(&text, &resources);
    if (run->settingsFile)
        LoadSettingsFile(*run->settingsFile, game.settings);
    game.Start();
    GameRecord& record = game.Record();
    if (!run->options.empty())
        ApplyOptions(record, run->options);
    if (run->framesDir)
        std::filesystem::create_directories(*run->framesDir);

    // The first trace line also reports what start-up played.
    std::size_t effectsSeen = 0;
    std::size_t playsSeen = 0;
    std::size_t next = 0;
    std::string out;
    for (std::uint64_t k = 1; k <= run->ticks; ++k) {
        while (next < run->script.size() && run->script[next].tick == k)
            Deliver(game, run->script[next++]);
        game.Tick();
        if (run->trace) {
            std::vector<int> effects;
            for (; effectsSeen < game.wave.played.size(); ++effectsSeen)
                for (int i = 0; i < 6; ++i)
                    if (game.wave.played[effectsSeen].image == record.waveData[static_cast<std::size_t>(i)])
                        effects.push_back(i);
            std::vector<std::string> music;
            for (; playsSeen < game.music.plays.size(); ++playsSeen)
                music.push_back(std::to_string(game.music.plays[playsSeen].handle - 1) + ":" +
                                std::to_string(game.music.plays[playsSeen].repeat));
            out += sim::TraceLine(k, record, effects, music);
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
    return 0;
}
