// Replays on the desktop: the store's folder of .ruvo-replay files, the
// bounded reading of a file the player names, and the Replays list driven as
// a player drives it: Watch, Save As, Open and Delete, whose questions and
// complaints come as message boxes. What the list holds and how a replay
// plays are the engine's.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

#include <sys/stat.h>

#include "modal_answer.h"
#include "platform/desktop/qt_replays.h"
#include "platform/desktop/replay_reading.h"
#include "platform/desktop/replays_dialog.h"
#include "replay/replay_keep.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

std::string ReplayText(std::uint32_t score, const char* name)
{
    Replay replay;
    replay.game = "1.32";
    replay.edition = "desktop";
    replay.date = "2026-03-01T14:05:09Z";
    replay.result = {score, 2, 300, name};
    return WriteReplay(replay);
}

std::string FileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(unreadable)");
}

// The store keeps each replay as a file of its name, and a file the player
// names is read within the limit.
TEST(Replays, TheStoreKeepsEachReplayAsAFileReadsOneThePlayerNamesWithinTheLimitAndTheListWatchesSavesOpensDeletes)
{
    QTemporaryDir dir;
    QtReplayStore store(dir.filePath(QStringLiteral("replays"))); // made at the first write
    EXPECT_TRUE(store.List().empty());
    // The last one replaces the first whole.
    for (const auto& [name, text] : {std::pair{"last", "one"}, {"row-5-1-00000000-1", "two"}, {"last", "three"}})
        EXPECT_TRUE(store.Write(name, text)) << name;
    std::string text;
    EXPECT_TRUE(store.Read("last", text));
    EXPECT_EQ(text, "three");
    EXPECT_EQ(FileText(dir.filePath(QStringLiteral("replays/last.ruvo-replay"))), "three");
    std::vector<std::string> names = store.List();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"last", "row-5-1-00000000-1"}));
    // Names the engine never gives reach no file, here or elsewhere.
    for (const char* bad : {"", "../escape", "a/b", "dot.name", "spaced name"}) {
        EXPECT_FALSE(store.Write(bad, "x")) << bad;
        EXPECT_FALSE(store.Read(bad, text)) << bad;
        EXPECT_FALSE(store.Remove(bad)) << bad;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("escape.ruvo-replay"))));
    EXPECT_TRUE(store.Remove("last"));
    EXPECT_FALSE(store.Read("last", text));
    EXPECT_EQ(store.List().size(), 1u);
    // A file where the folder should be: a write says it failed.
    QtReplayStore blocked(dir.filePath(QStringLiteral("replays/row-5-1-00000000-1.ruvo-replay")));
    EXPECT_FALSE(blocked.Write("last", "four"));

    // A file the player names (the game's tests give it a broken one, one of
    // 10 MB and a FIFO): a regular file up to the limit, read whole; one over
    // it, a folder, a device or a FIFO (no writer: it would block), refused at
    // once.
    const auto sized = [&](const char* name, qint64 size) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));
        return file.fileName();
    };
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::tuple<QString, std::string, std::size_t> cases[] = {
        {sized("full", kReplayMaxBytes), "", kReplayMaxBytes},
        {sized("over", kReplayMaxBytes + 1), ReplayTooLarge(kReplayMaxBytes + 1), 0},
        {sized("ten", 10 << 20), ReplayTooLarge(10 << 20), 0},
        {dir.path(), "a folder, not a replay file", 0},
        {QStringLiteral("/dev/zero"), "not a regular file", 0},
        {fifo, "not a regular file", 0},
        {dir.filePath(QStringLiteral("none")), "cannot be opened: No such file or directory", 0},
    };
    for (const auto& [path, error, size] : cases) {
        const ReplayFileRead read = ReadReplayFile(path);
        EXPECT_EQ(read.error, error) << path.toStdString();
        EXPECT_EQ(read.text.size(), size) << path.toStdString();
    }

    // The list, over the same store: the rows with a replay, then the last
    // game; Watch and Race hand the chosen one over, for what each says. Save
    // As writes the file where the player says, under the name it suggests;
    // Open... hands the file over unread: it is read off the GUI thread and
    // parsed once, when the list has closed.
    GameRecord record;
    record.host.replays = &store;
    record.game.hiScores = {5000, 4000, 3000, 2000, 1000};
    record.game.hiRounds = {2, 2, 2, 2, 2};
    for (std::size_t k = 0; k < 5; ++k)
        CopyName(record.game.hiNames[k], k == 1 ? "Bea" : "Al");
    store.Write(RowReplayName(record, 1), ReplayText(4000, "Bea"));
    store.Write(std::string(kLastGameReplay), ReplayText(1234, "Cy"));
    ReplaysDialog dialog(record, nullptr);
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(dialog.List()->item(0)->text(), QStringLiteral("2nd   4000   round 2   Bea"));
    EXPECT_EQ(dialog.List()->item(1)->text(), QStringLiteral("Last game   1234   round 2   Cy"));
    QString suggested;
    const QString saved = dir.filePath(QStringLiteral("saved.ruvo-replay"));
    dialog.askSavePath = [&](QWidget*, const QString& offered) {
        suggested = offered;
        return saved;
    };
    QTest::mouseClick(dialog.saveButton, Qt::LeftButton);
    EXPECT_TRUE(suggested.endsWith(QStringLiteral("/Ruvo 4000 Bea.ruvo-replay"))) << suggested.toStdString();
    EXPECT_EQ(FileText(saved), ReplayText(4000, "Bea"));
    dialog.List()->setCurrentRow(1);
    QTest::mouseClick(dialog.watchButton, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Chosen(), ReplayText(1234, "Cy"));
    EXPECT_EQ(dialog.ChosenUse(), ReplayUse::Watch);
    ReplaysDialog racing(record, nullptr);
    QTest::mouseClick(racing.raceButton, Qt::LeftButton);
    EXPECT_EQ(racing.Chosen(), ReplayText(4000, "Bea"));
    EXPECT_EQ(racing.ChosenUse(), ReplayUse::Race);

    ReplaysDialog opening(record, nullptr);
    opening.askOpenPath = [&](QWidget*) { return saved; };
    QTest::mouseClick(opening.openButton, Qt::LeftButton);
    EXPECT_EQ(opening.result(), QDialog::Accepted);
    EXPECT_EQ(opening.ChosenFile(), saved);
    EXPECT_FALSE(opening.Chosen());

    // Delete asks first, in a message box, and removes only on Yes: the box
    // is answered, and what it asked given back.
    ReplaysDialog deleting(record, nullptr);
    const auto deleteAnswering = [&](QMessageBox::StandardButton answer) {
        QString asked;
        testing::AnswerModals<QMessageBox>([&] { QTest::mouseClick(deleting.deleteButton, Qt::LeftButton); },
                                           [&](QMessageBox& box) {
                                               asked = box.text();
                                               QTest::mouseClick(box.button(answer), Qt::LeftButton);
                                           });
        return asked;
    };
    EXPECT_EQ(deleteAnswering(QMessageBox::No), QStringLiteral("Delete the replay of 2nd 4000 round 2 Bea?"));
    EXPECT_EQ(deleting.List()->count(), 2);
    deleteAnswering(QMessageBox::Yes);
    ASSERT_EQ(deleting.List()->count(), 1);
    EXPECT_EQ(deleting.List()->item(0)->text(), QStringLiteral("Last game   1234   round 2   Cy"));
    EXPECT_FALSE(store.Read(RowReplayName(record, 1), text));
    deleteAnswering(QMessageBox::Yes);
    EXPECT_EQ(deleting.List()->count(), 0);
    EXPECT_FALSE(deleting.watchButton->isEnabled() || deleting.raceButton->isEnabled());
    EXPECT_TRUE(deleting.openButton->isEnabled());
}

} // namespace
} // namespace ruvo
