// libFuzzer target: any bytes as the settings file. The bytes are written as
// the INI file, read through the game's settings store and LoadSettings, as at
// start-up. Whatever loads must be a table the game can hold (names ending
// inside their buffers) and must come back unchanged after the game saves it
// and loads it again: a table that changes on the way through the file would
// change the player's high scores at every start.
#include <QGuiApplication>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/desktop/qt_settings.h"
#include "settings/registry.h"

namespace {

std::string workDir;
long long runNumber = 0;

// Qt keeps a settings file it has read and reads it again only when its size
// or its modification time changed: every file here gets a time of its own.
void Stamp(const std::string& path)
{
    const timespec times[2] = {{runNumber, 0}, {runNumber, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void RemoveWorkDir()
{
    for (const char* name : {"/in.conf", "/out.conf"})
        std::remove((workDir + name).c_str());
    rmdir(workDir.c_str());
}

void Fail(const char* what, int row, const std::string& first, const std::string& second)
{
    std::fprintf(stderr, "settings_fuzz: %s (row %d): \"%s\" then \"%s\"\n", what, row, first.c_str(), second.c_str());
    std::abort();
}

void Load(const std::string& path, ruvo::GameRecord& record)
{
    ruvo::QtSettingsStore store(path);
    record.host.settings = &store;
    ruvo::LoadSettings(record);
    record.host.settings = nullptr;
}

void Save(const std::string& path, ruvo::GameRecord& record)
{
    ruvo::QtSettingsStore store(path);
    record.host.settings = &store;
    ruvo::SaveSettings(record);
    record.host.settings = nullptr;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Qt's types are all registered, as in the game, whatever a value claims to be.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int qtArgc = 1;
    new QGuiApplication(qtArgc, *argv);
    (void)argc;
    char pattern[] = "/tmp/ruvo-settings-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("settings_fuzz: mkdtemp");
        std::exit(1);
    }
    workDir = pattern;
    std::atexit(RemoveWorkDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ++runNumber;
    const std::string input = workDir + "/in.conf";
    const std::string output = workDir + "/out.conf";
    {
        std::ofstream file(input, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Stamp(input);
    std::remove(output.c_str());

    ruvo::GameRecord loaded;
    Load(input, loaded);
    for (int row = 0; row < 5; ++row) {
        const auto& name = loaded.hiNames[static_cast<std::size_t>(row)];
        if (std::memchr(name.data(), '\0', name.size()) == nullptr)
            Fail("a name without its end", row + 1, std::string(name.data(), name.size()), "");
    }

    Save(output, loaded);
    Stamp(output);
    ruvo::GameRecord again;
    Load(output, again);
    if (again.soundOn != loaded.soundOn || again.musicOn != loaded.musicOn ||
        again.optionEnabled != loaded.optionEnabled)
        Fail("a switch changed", 0,
             std::to_string(loaded.soundOn) + "," + std::to_string(loaded.musicOn) + "," +
                 std::to_string(loaded.optionEnabled),
             std::to_string(again.soundOn) + "," + std::to_string(again.musicOn) + "," +
                 std::to_string(again.optionEnabled));
    for (int row = 0; row < 5; ++row) {
        const auto k = static_cast<std::size_t>(row);
        if (again.hiScores[k] != loaded.hiScores[k])
            Fail("a score changed", row + 1, std::to_string(loaded.hiScores[k]), std::to_string(again.hiScores[k]));
        if (again.hiRounds[k] != loaded.hiRounds[k])
            Fail("a round changed", row + 1, std::to_string(loaded.hiRounds[k]), std::to_string(again.hiRounds[k]));
        if (ruvo::NameText(again.hiNames[k]) != ruvo::NameText(loaded.hiNames[k]))
            Fail("a name changed", row + 1, std::string(ruvo::NameText(loaded.hiNames[k])),
                 std::string(ruvo::NameText(again.hiNames[k])));
    }
    return 0;
}
