// The four dialogs on Qt, driven the way a player drives them: keys typed
// into the controls, buttons clicked, Escape and the close box tried.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <utility>
#include <vector>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/desktop/qt_dialogs.h"
#include "platform/desktop/qt_window.h"
#include "render/icon.h"
#include "resources/embedded.h"
#include "settings/defaults.h"
#include "settings/dialog_logic.h"
#include "settings/highscore.h"
#include "settings/registry.h"
#include "support/dialog_script.h"
#include "support/qt_application.h"

// Readable failure messages for Qt's strings.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace ruvo {
namespace {

QPushButton* Button(TemplateDialog& dialog, int id)
{
    return qobject_cast<QPushButton*>(dialog.Control(id));
}

std::string Name(const NameBuffer& buffer)
{
    return std::string(NameText(buffer));
}

int Across(const QLabel* label)
{
    return static_cast<int>(label->alignment() & Qt::AlignHorizontal_Mask);
}

class Dialogs : public ::testing::Test {
  protected:
    void SetUp() override
    {
        LoadIconPair(&resources_, Icons().largeIcon, 501, 32);
        InitDefaults(record_);
        record_.host.dialogs = &host_;
    }

    // Runs a dialog while the script answers it; returns the dialog's result.
    int Run(const std::function<int()>& open, testing::DialogScript::Action action)
    {
        testing::DialogScript script({std::move(action)});
        const int result = open();
        EXPECT_EQ(script.Opened(), 1u);
        return result;
    }

    testing::QtApplicationFirst application_; // before every widget
    EmbeddedResources resources_;
    QtWindowSystem windows_; // no game window: the dialogs stand alone
    QtDialogHost host_{windows_};
    GameRecord record_;
};

TEST_F(Dialogs, OptionOkOrEnterInAnEditStoresEveryEditAsTypedWithoutRangeChecks)
{
    for (const bool enter : {false, true}) {
        InitDefaults(record_);
        record_.optHarryLevel = 4000000000u;
        const int result = Run([&] { return host_.RunOption(record_); },
                               [enter](TemplateDialog& dialog) {
                                   EXPECT_EQ(dialog.windowTitle(), "Option");
                                   EXPECT_EQ(dialog.Edit(402)->text(), "1");
                                   EXPECT_EQ(dialog.Edit(406)->text(), "80");
                                   EXPECT_EQ(dialog.Edit(407)->text(), "4000000000");
                                   EXPECT_EQ(dialog.Edit(409)->text(), "4");
                                   EXPECT_EQ(dialog.focusWidget(), dialog.Edit(402));
                                   const std::pair<int, const char*> typed[] = {
                                       {406, "abc"}, {409, "-3"}, {402, "99999"}, {405, ""}, {403, "100"}};
                                   for (const auto& [id, text] : typed) {
                                       dialog.Edit(id)->clear();
                                       testing::TypeText(dialog.Edit(id), text);
                                   }
                                   if (enter)
                                       testing::PressKey(dialog.Edit(403), Qt::Key_Return);
                                   else
                                       testing::Click(Button(dialog, kOkId));
                               });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(record_.optSpeed, 0u);
        EXPECT_EQ(record_.optDamage, -3);
        EXPECT_EQ(record_.optRound, 99999u);
        EXPECT_EQ(record_.optDistance, 0u); // an empty edit reads as 0
        EXPECT_EQ(record_.optHarryLevel, 4000000000u);
        EXPECT_EQ(record_.optGameLevel, 100u);
        EXPECT_EQ(record_.optBossLevel, 10u);
        EXPECT_EQ(record_.optHarrySpeed, 50u);
    }
}

TEST_F(Dialogs, OptionCancelEscapeAndCloseBoxLeaveEveryField)
{
    const GameRecord& r = record_;
    const auto options = [&r] {
        return std::vector<std::int64_t>{r.optRound, r.optGameLevel,  r.optBossLevel,  r.optDistance,
                                         r.optSpeed, r.optHarryLevel, r.optHarrySpeed, r.optDamage};
    };
    const std::vector<std::int64_t> before = options();
    const auto scribble = [](TemplateDialog& dialog) {
        for (int id = 402; id <= 409; ++id) {
            dialog.Edit(id)->clear();
            testing::TypeText(dialog.Edit(id), "7");
        }
    };
    const std::vector<testing::DialogScript::Action> endings = {
        [](TemplateDialog& dialog) { testing::Click(Button(dialog, kCancelId)); },
        [](TemplateDialog& dialog) { testing::PressKey(dialog.Edit(405), Qt::Key_Escape); },
        [](TemplateDialog& dialog) { dialog.close(); },
        [](TemplateDialog& dialog) { // Enter on the focused Cancel button is Cancel
            Button(dialog, kCancelId)->setFocus();
            testing::PressKey(Button(dialog, kCancelId), Qt::Key_Return);
        },
    };
    for (const testing::DialogScript::Action& ending : endings) {
        const int result = Run([&] { return host_.RunOption(record_); },
                               [&](TemplateDialog& dialog) {
                                   scribble(dialog);
                                   ending(dialog);
                               });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(options(), before);
    }
}

TEST_F(Dialogs, NameEntryStartsEmptyAndStoresWhatIsConfirmed)
{
    StoreEntryName(record_, "Old name");
    Run([&] { return host_.RunInput(record_); },
        [](TemplateDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "High-Score");
            EXPECT_TRUE(dialog.Edit(410)->text().isEmpty());
            EXPECT_EQ(dialog.focusWidget(), dialog.Edit(410));
            testing::PressKey(dialog.Edit(410), Qt::Key_Return);
        });
    EXPECT_EQ(Name(record_.entryName), "");
}

TEST_F(Dialogs, NameEntryKeepsAtMost31BytesAndNeverHalfACharacter)
{
    struct Case {
        QString typed;
        std::string stored;
    };
    const std::string forty = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
    const std::string thirty = "abcdefghijklmnopqrstuvwxyz0123";
    const std::vector<Case> cases = {
        {QString::fromStdString(forty), forty.substr(0, 31)},
        {QString::fromStdString(thirty) + QString::fromUtf8("ä"), thirty},     // 30 + 2 bytes
        {QString::fromUtf8("ルヴォルヴォルヴォルヴ"), "ルヴォルヴォルヴォル"}, // 11 x 3 bytes
        {QString::fromUtf8("Zelp! ゼルプ"), "Zelp! ゼルプ"},                   // fits whole
    };
    for (const Case& c : cases) {
        Run([&] { return host_.RunInput(record_); },
            [&](TemplateDialog& dialog) {
                testing::TypeText(dialog.Edit(410), c.typed);
                EXPECT_EQ(dialog.Edit(410)->text(), c.typed); // the field itself has no limit
                testing::PressKey(dialog.Edit(410), Qt::Key_Enter);
            });
        EXPECT_EQ(Name(record_.entryName), c.stored) << c.typed.toStdString();
    }
}

TEST_F(Dialogs, NameEntryIgnoresEscapeAndTheCloseBox)
{
    Run([&] { return host_.RunInput(record_); },
        [](TemplateDialog& dialog) {
            testing::TypeText(dialog.Edit(410), "Ruvo");
            testing::PressKey(dialog.Edit(410), Qt::Key_Escape);
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_FALSE(dialog.close());
            EXPECT_TRUE(dialog.isVisible());
            testing::PressKey(dialog.Edit(410), Qt::Key_Return);
        });
    EXPECT_EQ(Name(record_.entryName), "Ruvo");
}

TEST_F(Dialogs, HighScoreShowsTheFiveRows)
{
    record_.hiScores = {4294967295u, 123456u, 1000u, 7u, 0u};
    record_.hiRounds = {65535, 12, 1, 3, 0};
    CopyName(record_.hiNames[0], "ルヴォ");
    CopyName(record_.hiNames[1], "K.Dorrimak");
    CopyName(record_.hiNames[2], "");
    CopyName(record_.hiNames[3], "<b>bold</b>");
    CopyName(record_.hiNames[4], "Tolp");
    const auto check = [](TemplateDialog& dialog) {
        const QStringList scores = {"4294967295", "123456", "1000", "7", "0"};
        const QStringList rounds = {"65535", "12", "1", "3", "0"};
        const QStringList names = {QString::fromUtf8("ルヴォ"), "K.Dorrimak", "", "<b>bold</b>", "Tolp"};
        for (int k = 0; k < 5; ++k) {
            QLabel* score = dialog.Text(411 + k);
            QLabel* round = dialog.Text(421 + k);
            QLabel* name = dialog.Text(416 + k);
            ASSERT_TRUE(score && round && name);
            EXPECT_EQ(score->text(), scores[k]);
            EXPECT_EQ(round->text(), rounds[k]);
            EXPECT_EQ(name->text(), names[k]);
            EXPECT_EQ(Across(score), Qt::AlignRight);
            EXPECT_EQ(Across(round), Qt::AlignHCenter);
            EXPECT_EQ(Across(name), Qt::AlignLeft);
            EXPECT_EQ(name->textFormat(), Qt::PlainText);
            // Each row's cells share one line.
            EXPECT_EQ(score->y(), name->y());
            EXPECT_EQ(round->y(), name->y());
            if (k > 0) {
                EXPECT_GT(score->y(), dialog.Text(411 + k - 1)->y());
            }
        }
        QStringList fixed;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->objectName().isEmpty())
                fixed << label->text();
        for (const char* text : {"Score", "RD", "Name", "1st", "2nd", "3rd", "4th", "5th"})
            EXPECT_TRUE(fixed.contains(text)) << text;
    };
    Run([&] { return host_.RunHighScore(record_); },
        [&](TemplateDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "High-Score");
            check(dialog);
            testing::PressKey(&dialog, Qt::Key_Escape);
        });
    Run([&] { return host_.RunHighScore(record_); },
        [](TemplateDialog& dialog) { testing::Click(Button(dialog, kOkId)); });
}

TEST_F(Dialogs, AboutClosesWithOkEnterEscapeOrTheCloseBox)
{
    const std::vector<testing::DialogScript::Action> endings = {
        [](TemplateDialog& dialog) { testing::Click(Button(dialog, kOkId)); },
        [](TemplateDialog& dialog) { testing::PressKey(&dialog, Qt::Key_Return); },
        [](TemplateDialog& dialog) { testing::PressKey(&dialog, Qt::Key_Escape); },
        [](TemplateDialog& dialog) { dialog.close(); },
    };
    for (const testing::DialogScript::Action& ending : endings) {
        const int result = Run([&] { return host_.RunAbout(); },
                               [&](TemplateDialog& dialog) {
                                   EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("“Ruvo Zelp!”について"));
                                   ending(dialog);
                               });
        EXPECT_EQ(result, 0);
    }
}

// The table's rules are the engine's; here the name typed into the Qt dialog
// reaches the table, and the table dialog that follows shows it.
TEST_F(Dialogs, AHighScoreAsksForTheNameThenShowsTheTableAndOnlyAboveTheFifth)
{
    QStringList shown;
    testing::DialogScript script({
        [](TemplateDialog& dialog) {
            ASSERT_NE(dialog.Edit(410), nullptr) << "the name dialog comes first";
            testing::TypeText(dialog.Edit(410), "Ruvo");
            testing::Click(Button(dialog, kOkId));
        },
        [&](TemplateDialog& dialog) {
            ASSERT_NE(dialog.Text(411), nullptr) << "then the table";
            for (int k = 0; k < 5; ++k)
                shown << dialog.Text(411 + k)->text() + " " + dialog.Text(416 + k)->text();
            testing::PressKey(&dialog, Qt::Key_Return);
        },
    });
    record_.round = 9;
    record_.score = 1000; // the first run's table holds 1000 five times
    EXPECT_EQ(CheckHighScore(record_), 1);
    EXPECT_EQ(script.Opened(), 0u);
    record_.score = 1001;
    EXPECT_EQ(CheckHighScore(record_), 1);
    EXPECT_EQ(script.Opened(), 2u);
    EXPECT_EQ(shown.join(" | "), "1001 Ruvo | 1000 K.Dorrimak | 1000 K.Dorrimak | 1000 K.Dorrimak | 1000 K.Dorrimak");
    EXPECT_EQ(Name(record_.hiNames[0]), "Ruvo");
    EXPECT_EQ(record_.hiRounds[0], 9u);
}

} // namespace
} // namespace ruvo
