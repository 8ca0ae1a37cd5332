// Replays on the desktop: the store's folder of .ruvo-replay files, and the
// Replays list driven as a player drives it: Watch, Save As, Open (a good
// file and a broken one) and Delete, whose questions and complaints come as
// message boxes. What the list holds and how a replay plays are the engine's.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "platform/desktop/qt_replays.h"
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

TEST(ReplayStore, KeepsEachReplayAsAFileOfItsNameAndNoOther)
{
    QTemporaryDir dir;
    QtReplayStore store(dir.filePath(QStringLiteral("replays"))); // made at the first write
    EXPECT_TRUE(store.List().empty());
    EXPECT_TRUE(store.Write("last", "one"));
    EXPECT_TRUE(store.Write("row-5-1-00000000-1", "two"));
    EXPECT_TRUE(store.Write("last", "three")); // replaced whole
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
}

class ReplaysList : public ::testing::Test {
  protected:
    void SetUp() override
    {
        record_.host.replays = &store_;
        for (std::size_t k = 0; k < 5; ++k) {
            record_.game.hiScores[k] = 5000 - 1000 * static_cast<std::uint32_t>(k);
            record_.game.hiRounds[k] = 2;
            CopyName(record_.game.hiNames[k], k == 1 ? "Bea" : "Al");
        }
        store_.Write(RowReplayName(record_, 1), ReplayText(4000, "Bea"));
        store_.Write(std::string(kLastGameReplay), ReplayText(1234, "Cy"));
    }
    // Runs the one message box that an action opens, answering it, and
    // returns its text; empty when none opened.
    QString Answered(const std::function<void()>& action, QMessageBox::StandardButton answer)
    {
        QString text;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box->isVisible()) {
                text = box->text();
                QTest::mouseClick(box->button(answer), Qt::LeftButton);
            }
        });
        poll.start(1);
        action();
        return text;
    }

    QTemporaryDir dir_;
    QtReplayStore store_{dir_.filePath(QStringLiteral("replays"))};
    GameRecord record_;
};

TEST_F(ReplaysList, ListsTheRowsWithAReplayThenTheLastGameAndWatchesTheChosenOne)
{
    ReplaysDialog dialog(record_, nullptr);
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(dialog.List()->item(0)->text(), QStringLiteral("2nd   4000   round 2   Bea"));
    EXPECT_EQ(dialog.List()->item(1)->text(), QStringLiteral("Last game   1234   round 2   Cy"));
    dialog.List()->setCurrentRow(1);
    QTest::mouseClick(dialog.watchButton, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.Chosen());
    EXPECT_EQ(*dialog.Chosen(), ReplayText(1234, "Cy"));
}

TEST_F(ReplaysList, SavesAsAFileAndOpensFilesRefusingABrokenOneInOneLine)
{
    ReplaysDialog dialog(record_, nullptr);
    QString suggested;
    const QString saved = dir_.filePath(QStringLiteral("saved.ruvo-replay"));
    dialog.askSavePath = [&](QWidget*, const QString& offered) {
        suggested = offered;
        return saved;
    };
    QTest::mouseClick(dialog.saveButton, Qt::LeftButton);
    EXPECT_TRUE(suggested.endsWith(QStringLiteral("/Ruvo 4000 Bea.ruvo-replay"))) << suggested.toStdString();
    EXPECT_EQ(FileText(saved), ReplayText(4000, "Bea"));

    const QString broken = dir_.filePath(QStringLiteral("broken.ruvo-replay"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ReplayText(1, "X").substr(0, 40).c_str());
    file.close();
    dialog.askOpenPath = [&](QWidget*) { return broken; };
    const QString complaint = Answered([&] { QTest::mouseClick(dialog.openButton, Qt::LeftButton); }, QMessageBox::Ok);
    EXPECT_EQ(complaint, broken + QStringLiteral(": truncated: the date line and all after it are missing"));
    EXPECT_FALSE(dialog.Chosen());
    EXPECT_EQ(dialog.result(), 0); // still open

    dialog.askOpenPath = [&](QWidget*) { return saved; };
    QTest::mouseClick(dialog.openButton, Qt::LeftButton);
    ASSERT_TRUE(dialog.Chosen());
    EXPECT_EQ(*dialog.Chosen(), ReplayText(4000, "Bea"));
}

TEST_F(ReplaysList, DeletesAfterAskingAndOnlyOnYes)
{
    ReplaysDialog dialog(record_, nullptr);
    const auto remove = [&] { QTest::mouseClick(dialog.deleteButton, Qt::LeftButton); };
    EXPECT_EQ(Answered(remove, QMessageBox::No), QStringLiteral("Delete the replay of 2nd 4000 round 2 Bea?"));
    EXPECT_EQ(dialog.List()->count(), 2);
    Answered(remove, QMessageBox::Yes);
    ASSERT_EQ(dialog.List()->count(), 1);
    EXPECT_EQ(dialog.List()->item(0)->text(), QStringLiteral("Last game   1234   round 2   Cy"));
    std::string text;
    EXPECT_FALSE(store_.Read(RowReplayName(record_, 1), text));
    Answered(remove, QMessageBox::Yes);
    EXPECT_EQ(dialog.List()->count(), 0);
    EXPECT_FALSE(dialog.watchButton->isEnabled());
    EXPECT_TRUE(dialog.openButton->isEnabled());
}

} // namespace
} // namespace ruvo
