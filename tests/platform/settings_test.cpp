#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <random>
#include <sys/stat.h>

#include "app/view_choice.h"
#include "platform/desktop/qt_settings.h"
#include "record/record.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

const std::string k31Bytes = "Abcdefghij-Abcdefghij-Abcdefghi";            // 31 bytes
const std::string k32Bytes = "Abcdefghij-Abcdefghij-Abcdefghij";           // 32 bytes
const std::string kUtf8Fits = "Abcdefghij-Abcdefghij-Abcdef\xC3\xA9";      // 28 + a two-byte letter: 30 bytes
const std::string kUtf8Spills = "Abcdefghij-Abcdefghij-Abcdefghi\xC3\xA9"; // 31 + two: would be cut mid-letter

class SettingsFile : public ::testing::Test {
  protected:
    std::string Path() const { return dir.filePath("Ruvo.ini").toStdString(); }

    // A fresh record, as the game has at start-up, loaded from the store at path.
    GameRecord Load(const std::string& path)
    {
        QtSettingsStore store(path);
        GameRecord record;
        record.host.settings = &store;
        LoadSettings(record);
        record.host.settings = nullptr;
        return record;
    }

    void Save(GameRecord& record, const std::string& path)
    {
        QtSettingsStore store(path);
        record.host.settings = &store;
        WriteSettings(record);
        record.host.settings = nullptr;
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
        record.musicOn = 1;
        record.optionEnabled = 7; // saved and loaded unchanged, whatever its value
        record.hiScores = {4294967295u, 123456, 1001, 0, 77};
        record.hiRounds = {65535, 12, 1, 0, 300};
        CopyName(record.hiNames[0], "Ann");
        CopyName(record.hiNames[1], k31Bytes);
        CopyName(record.hiNames[2], "K.D\xC3\xB6rrim\xC3\xA4k");
        CopyName(record.hiNames[3], "a, b; c = \"d\" [e] \\f");
        CopyName(record.hiNames[4], "");
        return record;
    }

    static void ExpectDefaults(const GameRecord& r, const char* why)
    {
        EXPECT_EQ(r.soundOn, 0) << why;
        EXPECT_EQ(r.musicOn, 0) << why;
        EXPECT_EQ(r.optionEnabled, 0) << why;
        for (std::size_t k = 0; k < 5; ++k) {
            EXPECT_EQ(r.hiScores[k], 1000u) << why << " row " << k + 1;
            EXPECT_EQ(r.hiRounds[k], 1u) << why << " row " << k + 1;
            EXPECT_EQ(NameText(r.hiNames[k]), kDefaultName) << why << " row " << k + 1;
        }
    }

    QTemporaryDir dir;
};

TEST_F(SettingsFile, AllEighteenValuesMakeTheRoundTrip)
{
    GameRecord saved = Sample();
    Save(saved, Path());

    const GameRecord loaded = Load(Path());
    EXPECT_EQ(loaded.soundOn, 1);
    EXPECT_EQ(loaded.musicOn, 1);
    EXPECT_EQ(loaded.optionEnabled, 7);
    EXPECT_EQ(loaded.hiScores, saved.hiScores);
    EXPECT_EQ(loaded.hiRounds, saved.hiRounds);
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_EQ(NameText(loaded.hiNames[k]), NameText(saved.hiNames[k])) << "row " << k + 1;

    const QSettings file(QString::fromStdString(Path()), QSettings::IniFormat);
    EXPECT_EQ(file.allKeys().size(), 18);
    EXPECT_EQ(file.value("Score1").toString(), "4294967295");
}

// The window's zoom and full screen ride along with the eighteen values, and
// each one that is missing, malformed or out of range means automatic and windowed.
TEST_F(SettingsFile, TheViewChoiceIsSavedBesideTheEighteenAndABadOneIsAutomaticAndWindowed)
{
    GameRecord saved = Sample();
    {
        QtSettingsStore store(Path());
        EXPECT_EQ(ReadViewChoice(store), ViewChoice{}); // first run
        store.KeepViewChoice(ViewChoice{8, true});
        saved.host.settings = &store;
        WriteSettings(saved);
        saved.host.settings = nullptr;
    }
    {
        QtSettingsStore store(Path());
        EXPECT_EQ(ReadViewChoice(store), (ViewChoice{8, true}));
    }
    const QSettings file(QString::fromStdString(Path()), QSettings::IniFormat);
    EXPECT_EQ(file.allKeys().size(), 20);
    const GameRecord loaded = Load(Path());
    EXPECT_EQ(loaded.hiScores, saved.hiScores);
    EXPECT_EQ(loaded.optionEnabled, 7);

    const std::pair<QByteArray, ViewChoice> cases[] = {
        {"Zoom=2\nFullscreen=0\n", {2, false}},
        {"Zoom=0\nFullscreen=1\n", {0, true}},
        {"Zoom=9\nFullscreen=2\n", {0, false}},
        {"Zoom=-1\nFullscreen=yes\n", {0, false}},
        {"Zoom=3x\n", {0, false}},
        {"Zoom=1\nFullscreen=4294967297\n", {1, false}},
    };
    int number = 0;
    for (const auto& [values, expected] : cases) {
        // A file of its own each: QSettings would take one rewritten within
        // the same second from its cache.
        const QString path = dir.filePath(QStringLiteral("view%1.ini").arg(++number));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[General]\n" + values);
        out.close();
        QtSettingsStore store(path.toStdString());
        EXPECT_EQ(ReadViewChoice(store), expected) << values.toStdString();
    }
}

// The automatic zoom takes 60 % of the screen's free area at most; a chosen
// one is held to what fits with the menu bar.
TEST(ViewZoom, AutomaticAndChosenZoomsFitTheScreen)
{
    EXPECT_EQ(AutomaticZoom(1920, 1080), 3);
    EXPECT_EQ(AutomaticZoom(1920, 1040), 3); // 600 rows within 624
    EXPECT_EQ(AutomaticZoom(1366, 768), 2);
    EXPECT_EQ(AutomaticZoom(1024, 768), 1);
    EXPECT_EQ(AutomaticZoom(2560, 1000), 3); // the height decides
    EXPECT_EQ(AutomaticZoom(640, 480), 1);   // never below 1, even where 1 is too large
    EXPECT_EQ(AutomaticZoom(3840, 2160), 6);

    EXPECT_EQ(LargestZoom(1920, 1080 - 20), 5);
    EXPECT_EQ(LargestZoom(1919, 2000), 4);
    EXPECT_EQ(LargestZoom(100, 100), 1);

    EXPECT_EQ(WindowZoom(ViewChoice{0, false}, 1920, 1080, 20), 3);
    EXPECT_EQ(WindowZoom(ViewChoice{4, false}, 1920, 1080, 20), 4);
    EXPECT_EQ(WindowZoom(ViewChoice{8, false}, 1920, 1080, 20), 5);
    EXPECT_EQ(WindowZoom(ViewChoice{5, false}, 1920, 1019, 20), 4); // 1000 rows and the bar do not fit
    EXPECT_EQ(WindowZoom(ViewChoice{2, false}, 300, 200, 20), 1);
}

TEST_F(SettingsFile, AMissingStoreIsTheFirstRun)
{
    ExpectDefaults(Load(Path()), "no file");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Path())));
}

TEST_F(SettingsFile, EachBadValueGetsItsOwnDefaultAndNothingElseChanges)
{
    WriteFile(QByteArray::fromStdString("[General]\nSound=yes\nMusic=-1\nOption=4294967296\n"
                                        "Score1=12345678901234567890\nScore2=0x10\nScore3=1.5\nScore4=\n"
                                        "Score5=4294967295\nRound1=65536\nRound2=-5\nRound3=65535\n"
                                        "Name1=" +
                                        k32Bytes + "\nName2=" + k31Bytes + "\nName3=" + kUtf8Spills +
                                        "\nName4=" + kUtf8Fits + "\nName5=@Invalid()\n"));
    const GameRecord r = Load(Path());
    EXPECT_EQ(r.soundOn, 0);
    EXPECT_EQ(r.musicOn, 0);
    EXPECT_EQ(r.optionEnabled, 0);
    EXPECT_EQ(r.hiScores, (std::array<std::uint32_t, 5>{1000, 1000, 1000, 1000, 4294967295u}));
    // Only the low 16 bits of a round are kept.
    EXPECT_EQ(r.hiRounds, (std::array<std::uint16_t, 5>{0, 1, 65535, 1, 1}));
    EXPECT_EQ(NameText(r.hiNames[0]), kDefaultName);
    EXPECT_EQ(NameText(r.hiNames[1]), k31Bytes);
    EXPECT_EQ(NameText(r.hiNames[2]), kDefaultName); // never a letter cut in two
    EXPECT_EQ(NameText(r.hiNames[3]), kUtf8Fits);
    EXPECT_EQ(NameText(r.hiNames[4]), kDefaultName);

    // The store itself hands back whole strings or nothing.
    QtSettingsStore store(Path());
    std::string text;
    EXPECT_FALSE(store.QueryString("Name1", text, 31));
    EXPECT_TRUE(store.QueryString("Name1", text, 32));
    EXPECT_EQ(text, k32Bytes);
    EXPECT_FALSE(store.QueryString("Missing", text, 31));
    std::uint32_t number = 99;
    EXPECT_FALSE(store.QueryDword("Name2", number));
    EXPECT_FALSE(store.QueryDword("Missing", number));
    EXPECT_EQ(number, 99u);
}

TEST_F(SettingsFile, ATruncatedFileKeepsWhatIsWholeAndHealsAtTheNextSave)
{
    GameRecord saved = Sample();
    Save(saved, Path());
    QFile file(QString::fromStdString(Path()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    // The values are stored in name order: cut inside the name "Score3", so
    // that Score3 to Score5 and Sound are lost and everything before is whole.
    const qsizetype cut = bytes.indexOf("Score3=");
    ASSERT_GT(cut, 0);
    bytes.truncate(cut + 4);
    WriteFile(bytes);

    const GameRecord r = Load(Path());
    EXPECT_EQ(r.musicOn, 1);
    EXPECT_EQ(r.optionEnabled, 7);
    EXPECT_EQ(r.hiRounds, saved.hiRounds);
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_EQ(NameText(r.hiNames[k]), NameText(saved.hiNames[k])) << "row " << k + 1;
    EXPECT_EQ(r.hiScores, (std::array<std::uint32_t, 5>{saved.hiScores[0], saved.hiScores[1], 1000, 1000, 1000}));
    EXPECT_EQ(r.soundOn, 0);

    GameRecord again = Sample();
    Save(again, Path());
    const GameRecord healed = Load(Path());
    EXPECT_EQ(healed.hiScores, saved.hiScores);
    EXPECT_EQ(healed.soundOn, 1);
}

TEST_F(SettingsFile, BinaryGarbageReadsAsDefaultsAndIsReplacedByTheNextSave)
{
    std::mt19937 random(1);
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>(random() & 0xFF));
    garbage.replace('=', '\0'); // no line of it may pass for a value
    WriteFile(garbage);

    ExpectDefaults(Load(Path()), "garbage");

    GameRecord saved = Sample();
    Save(saved, Path());
    const GameRecord loaded = Load(Path());
    EXPECT_EQ(loaded.soundOn, 1);
    EXPECT_EQ(loaded.hiScores, saved.hiScores);
    EXPECT_EQ(NameText(loaded.hiNames[3]), NameText(saved.hiNames[3]));
}

// Tests run as root, whom file modes do not stop: a directory where the file
// should be can be neither read nor written by anyone; and a plain file where
// its folder should be means the store cannot even be created.
TEST_F(SettingsFile, AnUnreadableOrUncreatableStoreGivesDefaultsAndSavingIsSilent)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("Ruvo.ini"));
    QTemporaryDir other;
    QFile plain(other.filePath("Ruvo.ini"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    for (const std::string& path : {Path(), plain.fileName().toStdString() + "/Ruvo.ini"}) {
        SCOPED_TRACE(path);
        ExpectDefaults(Load(path), "unreadable");
        QtSettingsStore store(path);
        EXPECT_FALSE(store.Create());
        GameRecord record = Sample();
        record.host.settings = &store;
        EXPECT_EQ(SaveSettings(record), 1);
        store.Close(); // a failed sync says nothing either
        LoadSettings(record);
        ExpectDefaults(record, "nothing could be stored");
    }
    EXPECT_TRUE(QFileInfo(QString::fromStdString(Path())).isDir());
}

// A crash in the middle of a save must never leave a half-written table: the
// new table is written beside the old one and renamed over it.
TEST_F(SettingsFile, SavingReplacesTheFileInsteadOfRewritingIt)
{
    GameRecord first = Sample();
    Save(first, Path());
    struct stat before{};
    ASSERT_EQ(stat(Path().c_str(), &before), 0);

    GameRecord second = Sample();
    second.hiScores[0] = 5;
    Save(second, Path());
    struct stat after{};
    ASSERT_EQ(stat(Path().c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(Load(Path()).hiScores[0], 5u);
    // Neither a temporary file nor a lock is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"Ruvo.ini"});
}

// Two instances of the game over one settings file, in processes of their
// own as two windows are: both load the table, each enters it (the second
// with an equal score, which goes below the older entry), and they close in
// either order. The file keeps both entries, and the last to close decides
// the switches.
TEST_F(SettingsFile, TwoGamesOverOneFileKeepBothNewEntriesWhicheverClosesLast)
{
    const QString saver = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + "/ruvo-settings-saver";
    ASSERT_TRUE(QFileInfo(saver).isExecutable()) << "built beside the tests";
    for (const bool firstClosesFirst : {true, false}) {
        SCOPED_TRACE(firstClosesFirst ? "the first closes first" : "the second closes first");
        const std::string path = dir.filePath(firstClosesFirst ? "first.ini" : "second.ini").toStdString();
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
            game.start(saver, {QStringLiteral("play"), QString::fromStdString(path)});
            ASSERT_TRUE(game.waitForStarted());
        }
        EXPECT_EQ(step(0, nullptr), "ok");
        EXPECT_EQ(step(1, nullptr), "ok");
        EXPECT_EQ(step(0, "enter 5000 7 Ann"), "ok");
        EXPECT_EQ(step(0, "sound"), "ok");
        EXPECT_EQ(step(1, "enter 5000 9 Bob"), "ok");
        const int last = firstClosesFirst ? 1 : 0;
        for (const int game : {1 - last, last}) {
            games[game].write("close\n");
            ASSERT_TRUE(games[game].waitForFinished(30000));
            EXPECT_EQ(games[game].exitCode(), 0);
        }
        const GameRecord table = Load(path);
        EXPECT_EQ(table.hiScores, (std::array<std::uint32_t, 5>{5000, 5000, 1000, 1000, 1000}));
        EXPECT_EQ(table.hiRounds, (std::array<std::uint16_t, 5>{7, 9, 1, 1, 1}));
        EXPECT_EQ(NameText(table.hiNames[0]), "Ann");
        EXPECT_EQ(NameText(table.hiNames[1]), "Bob");
        EXPECT_EQ(NameText(table.hiNames[2]), kDefaultName);
        EXPECT_EQ(table.soundOn, last == 0 ? 1 : 0);
    }
}

TEST(UserSettingsStore, LivesInTheUsersConfigFolderWithTheValuesAtTopLevel)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    {
        QtSettingsStore store;
        ASSERT_TRUE(store.Create());
        store.SetDword("Sound", 1);
        store.SetString("Name1", "Ann");
        store.Close();
    }
    const QString path = home.filePath("Tolp/Ruvo.conf");
    ASSERT_TRUE(QFileInfo::exists(path));
    const QSettings file(path, QSettings::IniFormat);
    EXPECT_EQ(file.childGroups(), QStringList{});
    EXPECT_EQ(file.value("Sound").toString(), "1");
    EXPECT_EQ(file.value("Name1").toString(), "Ann");

    QtSettingsStore reader;
    std::uint32_t sound = 0;
    EXPECT_TRUE(reader.QueryDword("Sound", sound));
    EXPECT_EQ(sound, 1u);
}

} // namespace
} // namespace ruvo
