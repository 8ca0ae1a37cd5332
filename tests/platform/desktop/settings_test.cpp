// The settings store on QSettings: what the game's save and load rules (tested
// in the engine) make of a real file, and what the file makes of damage, of a
// crash mid-save, and of two games over it.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <tuple>

#include "platform/desktop/qt_settings.h"
#include "platform/kit/view_choice.h"
#include "record/record.h"
#include "settings/registry.h"
#include "support/settings_text.h"

namespace ruvo {
namespace {

const std::string k31Bytes = "Abcdefghij-Abcdefghij-Abcdefghi";  // 31 bytes
const std::string k32Bytes = "Abcdefghij-Abcdefghij-Abcdefghij"; // 32 bytes

class SettingsFile : public ::testing::Test {
  protected:
    std::string Path() const { return dir.filePath("Ruvo.ini").toStdString(); }

    // A fresh record, as the game has at start-up, loaded from the store at path.
    static GameRecord Load(const std::string& path)
    {
        QtSettingsStore store(path);
        GameRecord record;
        record.host.settings = &store;
        LoadSettings(record);
        record.host.settings = nullptr;
        return record;
    }
    static void Save(GameRecord record, const std::string& path, std::optional<ViewChoice> view = {})
    {
        QtSettingsStore store(path);
        if (view)
            store.KeepViewChoice(*view);
        record.host.settings = &store;
        WriteSettings(record);
    }
    void WriteFile(const QByteArray& bytes)
    {
        QFile file(QString::fromStdString(Path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    static GameRecord Sample()
    {
        GameRecord record;
        record.soundOn = 1;
        record.musicOn = 2;       // kept as stored, not reduced to 0 or 1
        record.optionEnabled = 7; // saved and loaded unchanged, whatever its value
        record.game.hiScores = {4294967295u, 123456, 1001, 0, 77};
        record.game.hiRounds = {65535, 12, 1, 0, 300};
        const std::string names[] = {"Ann", k31Bytes, "K.D\xC3\xB6rrim\xC3\xA4k", "a, b; c = \"d\" [e] \\f", ""};
        for (std::size_t k = 0; k < 5; ++k)
            CopyName(record.game.hiNames[k], names[k]);
        return record;
    }
    // The first run's values, as the engine reads them with no store at all
    // (what they are is the engine's to test).
    static void ExpectDefaults(const GameRecord& r)
    {
        GameRecord first;
        LoadSettings(first);
        EXPECT_EQ(testing::SettingsText(r), testing::SettingsText(first));
    }

    QTemporaryDir dir;
};

// A file's life. Missing, it gives the first run's values. The eighteen
// values, and the window's zoom and full screen beside them, make the round
// trip. A crash in the middle of a save must never leave a half-written
// table: the new table is written beside the old one and renamed over it,
// leaving neither a temporary file nor a lock behind. Cut short or garbage:
// what is whole is read, the rest is the first run's, and the next save
// writes a whole file again.
TEST_F(SettingsFile, AMissingFileGivesDefaultsAllValuesAndTheViewMakeTheRoundTripADamagedOneHealsABadValueIsMissing)
{
    ExpectDefaults(Load(Path()));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Path()))) << "loading made a file";

    Save(Sample(), Path());
    struct stat before{}, after{};
    ASSERT_EQ(stat(Path().c_str(), &before), 0);
    Save(Sample(), Path(), ViewChoice{8, true});
    ASSERT_EQ(stat(Path().c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"Ruvo.ini"});
    EXPECT_EQ(testing::SettingsText(Load(Path())), testing::SettingsText(Sample()));
    QtSettingsStore store(Path());
    EXPECT_EQ(ReadViewChoice(store), (ViewChoice{8, true}));
    const QSettings ini(QString::fromStdString(Path()), QSettings::IniFormat);
    EXPECT_EQ(ini.allKeys().size(), 20);
    EXPECT_EQ(ini.value("Score1").toString(), "4294967295");

    QFile file(QString::fromStdString(Path()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // The values are stored in name order: cut inside the name "Score3", so
    // that Score3 to Score5 and Sound are lost and everything before is whole.
    const qsizetype cut = bytes.indexOf("Score3=");
    ASSERT_GT(cut, 0);
    WriteFile(bytes.left(cut + 4));
    GameRecord expected = Sample();
    expected.game.hiScores = {expected.game.hiScores[0], expected.game.hiScores[1], 1000, 1000, 1000};
    expected.soundOn = 0;
    EXPECT_EQ(testing::SettingsText(Load(Path())), testing::SettingsText(expected));
    Save(Sample(), Path());
    EXPECT_EQ(testing::SettingsText(Load(Path())), testing::SettingsText(Sample()));

    std::mt19937 random(1);
    QByteArray garbage(4096, '\0');
    std::generate(garbage.begin(), garbage.end(), [&random] { return static_cast<char>(random() & 0xFF); });
    garbage.replace('=', '\0'); // no line of it may pass for a value
    WriteFile(garbage);
    ExpectDefaults(Load(Path()));
    Save(Sample(), Path());
    EXPECT_EQ(testing::SettingsText(Load(Path())), testing::SettingsText(Sample()));

    // What is not our own plain decimal or a whole string reads as missing.
    WriteFile(QByteArray::fromStdString("[General]\nA=yes\nB=-1\nC=4294967296\nD=12345678901234567890\nE=0x10\n"
                                        "F=1.5\nG=\nH=4294967295\nI=0\nName1=" +
                                        k32Bytes + "\nName2=@Invalid()\nName3=\xC3\xA4\n"));
    QtSettingsStore written(Path());
    const std::pair<const char*, std::optional<std::uint32_t>> numbers[] = {
        {"A", {}}, {"B", {}},       {"C", {}},          {"D", {}}, {"E", {}},    {"F", {}},
        {"G", {}}, {"Missing", {}}, {"H", 4294967295u}, {"I", 0u}, {"Name1", {}}};
    for (const auto& [name, value] : numbers) {
        std::uint32_t number = 99;
        EXPECT_EQ(written.QueryDword(name, number), value.has_value()) << name;
        EXPECT_EQ(number, value.value_or(99)) << name;
    }
    const std::tuple<const char*, std::size_t, std::optional<std::string>> strings[] = {
        {"Name1", 31, {}}, {"Name1", 32, k32Bytes}, {"Name2", 31, {}}, {"Missing", 31, {}}, {"Name3", 31, "\xC3\xA4"}};
    for (const auto& [name, limit, value] : strings) {
        std::string text = "unread";
        EXPECT_EQ(written.QueryString(name, text, limit), value.has_value()) << name << " " << limit;
        EXPECT_EQ(text, value.value_or("unread")) << name << " " << limit;
    }
}

// A file the game could not have written is moved aside unread and kept for
// the player; the game starts from its first values and saves anew. One past
// the limit; one with a value QSettings would decode with QDataStream (this
// line, found by fuzzing, once made it reserve 19 GB); a pipe, whose read
// would never end. The store's native path is the one QSettings reads.
// A store that cannot be used at all gives the first values too, and saving
// into it is silent.
TEST_F(SettingsFile, AForeignFileIsSetAsideUnusableStoreIsLeftAndTwoGamesOverOneFileKeepBothNewEntries)
{
    EXPECT_EQ(UserSettingsPath(), QSettings(QSettings::NativeFormat, QSettings::UserScope, "Tolp", "Ruvo").fileName());
    const QString path = QString::fromStdString(Path());
    const QByteArray variant = R"(Score2=@Variant(\0\0\0\N10__cxxabiv117__class_type_infoEx3\0\0\0\x5))";
    for (const QByteArray& bytes : {"Sound=1\n" + QByteArray(kSettingsMaxBytes, ';'), variant, QByteArray()}) {
        if (bytes.isEmpty())
            ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
        else
            WriteFile("[General]\n" + bytes + "\n");
        ExpectDefaults(Load(Path()));
        EXPECT_FALSE(QFileInfo::exists(path));
        EXPECT_TRUE(QFileInfo::exists(path + ".refused"));
        Save(Sample(), Path());
        EXPECT_EQ(testing::SettingsText(Load(Path())), testing::SettingsText(Sample()));
        QFile::remove(path);
    }

    // Tests run as root, whom file modes do not stop: a directory where the
    // file should be can be neither read nor written by anyone; and a plain
    // file where its folder should be means the store cannot even be created.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Ruvo.ini"));
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    for (const std::string& where : {Path(), plain.fileName().toStdString() + "/Ruvo.ini"}) {
        SCOPED_TRACE(where);
        ExpectDefaults(Load(where));
        QtSettingsStore store(where);
        EXPECT_FALSE(store.Create());
        GameRecord record = Sample();
        record.host.settings = &store;
        EXPECT_EQ(SaveSettings(record), 1);
        store.Close(); // a failed sync says nothing either
        LoadSettings(record);
        ExpectDefaults(record);
    }
    EXPECT_TRUE(QFileInfo(path).isDir());

    // Two instances of the game over one settings file, in processes of their
    // own as two windows are: both load the table, each enters it (the second
    // with an equal score, which goes below the older entry), and they close in
    // either order. The file keeps both entries, and the last to close decides
    // the switches: a save must read what the other process wrote, not the copy
    // QSettings keeps.
    const QString saver = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + "/ruvo-settings-saver";
    ASSERT_TRUE(QFileInfo(saver).isExecutable()) << "built beside the tests";
    for (const bool firstClosesFirst : {true, false}) {
        SCOPED_TRACE(firstClosesFirst ? "the first closes first" : "the second closes first");
        const std::string shared = dir.filePath(firstClosesFirst ? "first.ini" : "second.ini").toStdString();
        QProcess games[2];
        const auto step = [&games](int game, const char* line) {
            QProcess& process = games[game];
            if (line != nullptr)
                process.write(QByteArray(line) + '\n');
            while (!process.canReadLine())
                if (!process.waitForReadyRead(30000))
                    return QByteArray("no answer: ") + process.readAllStandardError();
            return process.readLine().trimmed();
        };
        for (QProcess& game : games) {
            game.start(saver, {QStringLiteral("play"), QString::fromStdString(shared)});
            ASSERT_TRUE(game.waitForStarted());
        }
        const std::pair<int, const char*> steps[] = {
            {0, nullptr}, {1, nullptr}, {0, "enter 5000 7 Ann"}, {0, "sound"}, {1, "enter 5000 9 Bob"}};
        for (const auto& [game, line] : steps)
            EXPECT_EQ(step(game, line), "ok") << game << ": " << (line ? line : "(started)");
        const int last = firstClosesFirst ? 1 : 0;
        for (const int game : {1 - last, last}) {
            games[game].write("close\n");
            ASSERT_TRUE(games[game].waitForFinished(30000));
            EXPECT_EQ(games[game].exitCode(), 0);
        }
        const GameRecord table = Load(shared);
        EXPECT_EQ(table.game.hiScores, (std::array<std::uint32_t, 5>{5000, 5000, 1000, 1000, 1000}));
        EXPECT_EQ(table.game.hiRounds, (std::array<std::uint16_t, 5>{7, 9, 1, 1, 1}));
        EXPECT_EQ(NameText(table.game.hiNames[0]), "Ann");
        EXPECT_EQ(NameText(table.game.hiNames[1]), "Bob");
        EXPECT_EQ(table.soundOn, last == 0 ? 1 : 0);
    }
}

} // namespace
} // namespace ruvo
