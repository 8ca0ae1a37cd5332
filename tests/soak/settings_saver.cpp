// Saves the game's settings again and again, as the game saves them on every
// close, so that a test can kill it part-way and look at what is left.
//
//   ruvo-settings-saver save FILE COUNT   COUNT saves into the INI file FILE,
//                                         tables A, B, A, ... (save 1 is A)
//   ruvo-settings-saver check FILE        loads FILE as the game loads it and
//                                         prints A, B or "neither: ..." (status 1)
//   ruvo-settings-saver play FILE         one game's life over FILE, so that two
//                                         can run side by side: loads it as the
//                                         game starts, then takes a line at a
//                                         time from standard input: "enter SCORE
//                                         ROUND NAME" ends a game with that score,
//                                         "sound" toggles the sound, "close" saves
//                                         as closing the window does and ends.
//                                         Prints "ok" when ready for the next line.
//
// The two tables differ from each other and from the first-run defaults in
// every one of the eighteen values the game keeps (but Sound in B, which is
// off as by default), so that a torn file, a mix of the two or a fall-back to
// the defaults shows in what is loaded.
// SPDX-License-Identifier: MIT
#include <QCoreApplication>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/desktop/qt_settings.h"
#include "settings/highscore.h"
#include "settings/registry.h"
#include "support/settings_text.h"

namespace {

using namespace ruvo;

struct Table {
    std::int32_t sound, music, option;
    std::array<std::uint32_t, 5> scores;
    std::array<std::uint16_t, 5> rounds;
    std::array<const char*, 5> names;
};

// Names with the characters a settings file has to quote or escape.
const Table kTableA = {1,
                       0,
                       1,
                       {987654, 54321, 43210, 3210, 1001},
                       {41, 17, 9, 3, 2},
                       {"Alpha", "A; semi=colon", " lead space", "ÄÖÜ äöü", "back\\slash \"quoted\""}};
const Table kTableB = {0,
                       1,
                       0,
                       {4294967295u, 777777, 66666, 5555, 1002},
                       {65535, 300, 12, 7, 4},
                       {"Bravo", "#not a comment", "trailing space ", "日本語の名前", "tab\there"}};

void Fill(GameRecord& record, const Table& table)
{
    record.soundOn = table.sound;
    record.musicOn = table.music;
    record.optionEnabled = table.option;
    for (std::size_t k = 0; k < 5; ++k) {
        record.game.hiScores[k] = table.scores[k];
        record.game.hiRounds[k] = table.rounds[k];
        CopyName(record.game.hiNames[k], table.names[k]);
    }
}

// The name dialog answers with the name of the "enter" line; the others are
// answered at once.
class AnsweringDialogs final : public DialogHost {
  public:
    int RunAbout() override { return 0; }
    int RunOption(GameRecord&) override { return 0; }
    int RunHighScore(GameRecord&) override { return 0; }
    int RunInput(GameRecord& record) override
    {
        CopyName(record.game.entryName, name);
        return 0;
    }
    std::string name;
};

int Play(GameRecord& record)
{
    AnsweringDialogs dialogs;
    record.host.dialogs = &dialogs;
    LoadSettings(record);
    std::string line;
    for (std::cout << "ok" << std::endl; std::getline(std::cin, line); std::cout << "ok" << std::endl) {
        std::istringstream words(line);
        std::string verb;
        words >> verb;
        if (verb == "enter" && words >> record.game.score >> record.game.round >> dialogs.name) {
            CheckHighScore(record);
        } else if (verb == "sound") {
            record.soundOn = record.soundOn != 0 ? 0 : 1;
        } else if (verb == "close") {
            SaveSettings(record);
            return 0;
        } else {
            std::fprintf(stderr, "ruvo-settings-saver: not a step: %s\n", line.c_str());
            return 2;
        }
    }
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const std::string verb = argc > 2 ? argv[1] : "";
    char* end = nullptr;
    const long count = verb == "save" && argc == 4 ? std::strtol(argv[3], &end, 10) : 0;
    const bool saves = count > 0 && *end == '\0';
    if (!saves && !((verb == "check" || verb == "play") && argc == 3)) {
        std::fprintf(stderr, "usage: ruvo-settings-saver save FILE COUNT | check FILE | play FILE\n");
        return 2;
    }
    // One store for the whole run, as the game keeps one for its life.
    QtSettingsStore store(argv[2]);
    GameRecord record;
    record.host.settings = &store;
    if (verb == "play")
        return Play(record);
    for (long i = 0; i < count; ++i) {
        Fill(record, i % 2 == 0 ? kTableA : kTableB);
        WriteSettings(record);
    }
    if (verb == "check") {
        LoadSettings(record);
        for (const auto& [name, table] : {std::pair{"A", &kTableA}, std::pair{"B", &kTableB}}) {
            GameRecord filled;
            Fill(filled, *table);
            if (testing::SettingsText(filled) == testing::SettingsText(record)) {
                std::printf("%s\n", name);
                return 0;
            }
        }
        std::printf("neither: %s\n", testing::SettingsText(record).c_str());
        return 1;
    }
    return 0;
}
