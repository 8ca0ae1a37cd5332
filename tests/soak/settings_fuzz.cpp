// libFuzzer target: any bytes as the settings file. The bytes are written as
// the INI file, read through the game's settings store and LoadSettings, as at
// start-up. Whatever loads must be a table the game can hold (names ending
// inside their buffers) and must come back unchanged after the game saves it
// and loads it again: a table that changes on the way through the file would
// change the player's high scores at every start.
// SPDX-License-Identifier: MIT
#include <QGuiApplication>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "fuzz_fail.h"
#include "platform/desktop/qt_settings.h"
#include "settings/registry.h"
#include "support/settings_text.h"

namespace {

QTemporaryDir workDir; // removed at exit
long long runNumber = 0;

// Qt keeps a settings file it has read and reads it again only when its size
// or its modification time changed: every file here gets a time of its own.
void Stamp(const std::string& path)
{
    const timespec times[2] = {{runNumber, 0}, {runNumber, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void Through(const std::string& path, ruvo::GameRecord& record, int (*routine)(ruvo::GameRecord&))
{
    ruvo::QtSettingsStore store(path);
    record.host.settings = &store;
    routine(record);
    record.host.settings = nullptr;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv)
{
    // Qt's types are all registered, as in the game, whatever a value claims to be.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int qtArgc = 1;
    new QGuiApplication(qtArgc, *argv);
    if (!workDir.isValid()) {
        std::perror("settings_fuzz: scratch folder");
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ++runNumber;
    const std::string input = workDir.filePath("in.conf").toStdString();
    const std::string output = workDir.filePath("out.conf").toStdString();
    {
        std::ofstream file(input, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Stamp(input);
    std::remove(output.c_str());

    ruvo::GameRecord loaded;
    Through(input, loaded, ruvo::LoadSettings);
    for (const auto& name : loaded.game.hiNames)
        if (std::memchr(name.data(), '\0', name.size()) == nullptr)
            Fail("a name without its end", std::string(name.data(), name.size()));

    Through(output, loaded, ruvo::WriteSettings); // as it stands: SaveSettings would merge it into the empty output
    Stamp(output);
    ruvo::GameRecord again;
    Through(output, again, ruvo::LoadSettings);
    if (ruvo::testing::SettingsText(again) != ruvo::testing::SettingsText(loaded))
        Fail("the table changed on its way through the file",
             ruvo::testing::SettingsText(loaded) + "then\n" + ruvo::testing::SettingsText(again));
    return 0;
}
