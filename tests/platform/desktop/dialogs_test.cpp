// The four dialogs on Qt: laid out from the templates' dialog units with the
// dialog font over the play field, and driven the way a player drives them,
// keys typed into the controls, buttons clicked, Escape and the close box
// tried. The rules behind them (the name's length, the table's order) are the
// engine's and are tested there.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <tuple>
#include <utility>
#include <vector>

#include <QDialogButtonBox>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "modal_answer.h"
#include "platform/desktop/licences_dialog.h"
#include "platform/desktop/qt_dialogs.h"
#include "platform/desktop/qt_window.h"
#include "platform/desktop/template_dialog.h"
#include "render/icon.h"
#include "resources/embedded.h"
#include "settings/defaults.h"
#include "settings/dialog_logic.h"
#include "settings/options.h"
#include "settings/registry.h"

// Readable failure messages for Qt's strings.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace ruvo {
namespace {

// Each character as one key stroke, as a keyboard or an input method sends it.
void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

using Action = std::function<void(TemplateDialog&)>;

// Answers the one modal dialog `open` runs. The action must leave the dialog
// closed; one that does not is a failure, and the dialog is closed by force
// so that the test ends.
int Answer(const std::function<int()>& open, const Action& action)
{
    int result = 0;
    const auto answer = [&](TemplateDialog& dialog) {
        action(dialog);
        if (dialog.isVisible()) {
            ADD_FAILURE() << "the dialog stayed open: " << dialog.windowTitle().toStdString();
            dialog.done(-1);
        }
    };
    EXPECT_EQ(testing::AnswerModals<TemplateDialog>([&] { result = open(); }, answer), 1);
    return result;
}

class Dialogs : public ::testing::Test {
  protected:
    void SetUp() override
    {
        LoadIconPair(&resources_, icons_.largeIcon, kProgramIconGroup, 32);
        windows_.RegisterGameClass(kClassName, icons_);
        InitDefaults(record_);
        record_.host.dialogs = &host_;
    }

    EmbeddedResources resources_;
    ProgramIcons icons_;
    QtWindowSystem windows_; // no game window: the dialogs stand alone
    QtDialogHost host_{windows_};
    GameRecord record_;
};

// ---------------------------------------------------------------------------
// Where the dialogs and their controls go

// Dialog units to pixels, from the font's letters as the dialog manager counts them.
QRect Pixels(const TemplateDialog& dialog, const UnitRect& rect)
{
    const QFontMetrics metrics(dialog.font());
    const int across = (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
    const int down = metrics.height();
    const auto scale = [](int units, int base, int divisor) { return (units * base + divisor / 2) / divisor; };
    return {scale(rect.x, across, 4), scale(rect.y, down, 8), scale(rect.width, across, 4),
            scale(rect.height, down, 8)};
}

// What is typed into the edits is stored. Option's edits each show their
// option as the option table writes it; what is typed (null: nothing) is
// stored on OK or Enter as read, without range checks; an empty edit or one
// without digits reads as 0; every other way out (Cancel, Escape, the close
// box, Enter on the focused Cancel button) stores nothing. The name entry
// opens empty each time, the focus in its edit; Escape and the close box
// leave it open; Return or Enter stores what was typed, cut to 31 bytes.
TEST_F(Dialogs, EveryWayOutOfEachAnswersAsItShouldTheirTextsAreRightAndEveryControlSitsWhereItsTemplatePutsIt)
{
    const char* const typed[8] = {"99999", "100", nullptr, "", "abc", nullptr, nullptr, "-3"};
    const std::array<std::string, 8> stored = {"99999", "100", "10", "0", "0", "4000000000", "50", "-3"};
    const std::pair<bool, Action> endings[] = {
        {true, [](TemplateDialog& dialog) { QTest::mouseClick(dialog.Control(kOkId), Qt::LeftButton); }},
        {true, [](TemplateDialog& dialog) { QTest::keyClick(dialog.Edit(403), Qt::Key_Return); }},
        {false, [](TemplateDialog& dialog) { QTest::mouseClick(dialog.Control(kCancelId), Qt::LeftButton); }},
        {false, [](TemplateDialog& dialog) { QTest::keyClick(dialog.Edit(405), Qt::Key_Escape); }},
        {false, [](TemplateDialog& dialog) { dialog.close(); }},
        {false, [](TemplateDialog& dialog) {
             dialog.Control(kCancelId)->setFocus();
             QTest::keyClick(dialog.Control(kCancelId), Qt::Key_Return);
         }}};
    for (const auto& way : endings) {
        InitDefaults(record_);
        record_.game.optHarryLevel = 4000000000u;
        const std::array<std::string, 8> before = FillOptionEdits(record_);
        const int result = Answer([&] { return host_.RunOption(record_); },
                                  [&](TemplateDialog& dialog) {
                                      EXPECT_EQ(dialog.windowTitle(), "Option");
                                      EXPECT_EQ(dialog.focusWidget(), dialog.Edit(402));
                                      for (std::size_t k = 0; k < kOptionRows.size(); ++k) {
                                          QLineEdit* edit = dialog.Edit(kOptionRows[k].editId);
                                          EXPECT_EQ(edit->text().toStdString(), OptionText(record_.game, k));
                                          if (typed[k] != nullptr) {
                                              edit->clear();
                                              TypeText(edit, typed[k]);
                                          }
                                      }
                                      way.second(dialog);
                                  });
        EXPECT_EQ(result, way.first ? 1 : 0) << &way - endings;
        EXPECT_EQ(FillOptionEdits(record_), way.first ? stored : before) << &way - endings;
    }

    StoreEntryName(record_, "Old name");
    for (const auto& [name, kept, key] :
         {std::tuple{"", "", Qt::Key_Return},
          {"ルヴォルヴォルヴォルヴ", "ルヴォルヴォルヴォル", Qt::Key_Enter}, // 11 x 3 bytes
          {"Zelp! ゼルプ", "Zelp! ゼルプ", Qt::Key_Return}}) {
        Answer([&] { return host_.RunInput(record_); },
               [&](TemplateDialog& dialog) {
                   EXPECT_EQ(dialog.windowTitle(), "High-Score");
                   EXPECT_TRUE(dialog.Edit(kNameEditId)->text().isEmpty());
                   EXPECT_EQ(dialog.focusWidget(), dialog.Edit(kNameEditId));
                   TypeText(dialog.Edit(kNameEditId), QString::fromUtf8(name));
                   QTest::keyClick(dialog.Edit(kNameEditId), Qt::Key_Escape);
                   EXPECT_FALSE(dialog.close());
                   EXPECT_TRUE(dialog.isVisible());
                   QTest::keyClick(dialog.Edit(kNameEditId), key);
               });
        EXPECT_EQ(NameText(record_.game.entryName), kept);
    }

    // Every way out of About and of the table closes it and leaves the options
    // as they were (Option's ways out are above). The table shows its five rows,
    // each row's cells on one line, in plain text. About's Licences button,
    // beside OK and as large, opens the licence and the notices as the tree has
    // them; closing them leaves About open.
    const std::array<std::string, 8> before = FillOptionEdits(record_);
    record_.game.hiScores = {4294967295u, 123456u, 1000u, 7u, 0u};
    record_.game.hiRounds = {65535, 12, 1, 3, 0};
    const char* const names[] = {"ルヴォ", "K.Dorrimak", "", "<b>bold</b>", "Tolp"};
    for (int k = 0; k < 5; ++k)
        CopyName(record_.game.hiNames[k], names[k]);
    const Action rowsThenEscape = [&](TemplateDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "High-Score");
        for (int k = 0; k < 5; ++k)
            for (const auto& [id, text, alignment] :
                 {std::tuple{ScoreCellId(k), QString::number(record_.game.hiScores[k]), Qt::AlignRight},
                  {RoundCellId(k), QString::number(record_.game.hiRounds[k]), Qt::AlignHCenter},
                  {NameCellId(k), QString::fromUtf8(names[k]), Qt::AlignLeft}}) {
                QLabel* cell = dialog.Text(id);
                ASSERT_TRUE(cell && dialog.Text(NameCellId(k))) << k;
                EXPECT_EQ(cell->text(), text);
                EXPECT_EQ(cell->alignment() & Qt::AlignHorizontal_Mask, alignment) << k;
                EXPECT_EQ(cell->textFormat(), Qt::PlainText) << k;
                EXPECT_EQ(cell->y(), dialog.Text(NameCellId(k))->y()) << k;
            }
        QTest::keyClick(&dialog, Qt::Key_Escape);
    };
    QString licence, notices;
    const Action licencesThenOk = [&](TemplateDialog& dialog) {
        QWidget* ok = dialog.Control(kOkId);
        auto* button = qobject_cast<QPushButton*>(dialog.Control(kLicencesId));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), "Licences");
        EXPECT_EQ(button->size(), ok->size());
        EXPECT_EQ(button->y(), ok->y());
        EXPECT_GT(button->x(), ok->geometry().right());
        EXPECT_TRUE(dialog.rect().contains(button->geometry()));
        // The viewer runs modal over About.
        testing::AnswerModals<QDialog>([&] { QTest::mouseClick(dialog.Control(kLicencesId), Qt::LeftButton); },
                                       [&](QDialog& viewer) {
                                           if (&viewer == &dialog)
                                               return;
                                           licence = viewer.findChild<QPlainTextEdit*>("licenceText")->toPlainText();
                                           notices = viewer.findChild<QPlainTextEdit*>("noticesText")->toPlainText();
                                           QTest::mouseClick(
                                               viewer.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close),
                                               Qt::LeftButton);
                                       });
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(dialog.Control(kOkId), Qt::LeftButton);
    };
    const Action aboutEndings[] = {licencesThenOk,
                                   [](TemplateDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); },
                                   [](TemplateDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
                                   [](TemplateDialog& dialog) { dialog.close(); }};
    for (const Action& ending : aboutEndings)
        EXPECT_EQ(Answer([&] { return host_.RunAbout(); }, ending), 0);
    const Action tableEndings[] = {
        [](TemplateDialog& dialog) { QTest::mouseClick(dialog.Control(kOkId), Qt::LeftButton); }, rowsThenEscape};
    for (const Action& ending : tableEndings)
        EXPECT_EQ(Answer([&] { return host_.RunHighScore(record_); }, ending), 0);
    EXPECT_EQ(FillOptionEdits(record_), before);
    const auto tree = [](const char* name) {
        QFile file(QString::fromUtf8(RUVO_SOURCE_DIR) + QChar('/') + QString::fromLatin1(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    EXPECT_TRUE(licence.contains("Copyright (c) 2026 The Ruvo developers"));
    EXPECT_EQ(licence, tree("LICENSE"));
    EXPECT_EQ(notices, tree("THIRD_PARTY_NOTICES"));

    // In the Japanese Gothic face at nine points, each dialog at its place over
    // the play field and modal to its window, each edit and button where its
    // template puts it, the icon at its corner in its own size, showing the
    // program icon through its mask, nothing overlapping or clipped, the focus
    // only where it belongs.
    // The play field lies inside the game window, under the menu bar.
    QWidget gameWindow;
    gameWindow.setGeometry(40, 30, 384, 220);
    auto* playField = new QWidget(&gameWindow);
    playField->setGeometry(0, 20, 384, 200);
    gameWindow.show();
    const QFontInfo face(DialogFont());
    EXPECT_TRUE(face.family().contains("Gothic") || face.family().contains(QString::fromUtf8("ゴシック")))
        << face.family().toStdString();
    EXPECT_EQ(face.pixelSize(), 12);
    struct Case {
        const DialogTemplate* layout;
        UnitRect rect;
        std::vector<int> focusable; // template order
        bool okIsDefault;
    };
    const Case cases[] = {
        {&AboutTemplate(), {42, 29, 133, 47}, {kOkId}, true},
        {&OptionTemplate(), {0, 0, 155, 170}, {402, 403, 404, 405, 406, 407, 408, 409, kOkId, kCancelId}, false},
        {&HighScoreTemplate(), {0, 16, 183, 161}, {kOkId}, true},
        {&InputTemplate(), {0, 16, 187, 79}, {kNameEditId, kOkId}, false},
    };
    const QPoint field = playField->mapToGlobal(QPoint(0, 0));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout->title);
        TemplateDialog dialog(*c.layout, playField, IconPixmap(icons_.largeIcon));
        EXPECT_EQ(QRect(dialog.pos(), dialog.size()), Pixels(dialog, c.rect).translated(field));
        EXPECT_EQ(dialog.parentWidget(), &gameWindow);
        EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);

        const QList<QWidget*> controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(controls.size(), static_cast<qsizetype>(c.layout->controls.size()));
        std::vector<int> focusable;
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const ControlTemplate& control = c.layout->controls[static_cast<std::size_t>(i)];
            const QRect a = controls[i]->geometry();
            // A text is fitted to its letters; an icon takes its picture's size.
            const QRect placed = Pixels(dialog, control.rect);
            if (control.kind != ControlKind::Text) {
                EXPECT_EQ(a, control.kind == ControlKind::Icon ? QRect(placed.topLeft(), QSize(32, 32)) : placed) << i;
            }
            EXPECT_TRUE(dialog.rect().contains(a)) << "control " << i;
            for (qsizetype j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(a.intersects(controls[j]->geometry())) << "controls " << i << ", " << j;
            // No text is clipped.
            if (auto* label = qobject_cast<QLabel*>(controls[i]); label != nullptr && !label->text().isEmpty()) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width()) << i;
            }
            if (auto* button = qobject_cast<QPushButton*>(controls[i])) {
                EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 8) << i;
            }
            if (control.kind == ControlKind::Icon) {
                const QImage icon = qobject_cast<QLabel*>(controls[i])->pixmap().toImage();
                ASSERT_EQ(icon.size(), QSize(32, 32));
                int transparent = 0;
                for (int k = 0; k < 32 * 32; ++k) {
                    const bool maskWhite = (icons_.largeIcon.mask->At(k % 32, k / 32) & kColourBits) == kWhite;
                    EXPECT_EQ(qAlpha(icon.pixel(k % 32, k / 32)), maskWhite ? 0 : 255) << k % 32 << "," << k / 32;
                    transparent += maskWhite ? 1 : 0;
                }
                EXPECT_TRUE(transparent > 0 && transparent < 32 * 32);
            }
            if (controls[i]->focusPolicy() != Qt::NoFocus)
                focusable.push_back(controls[i]->objectName().toInt());
        }
        EXPECT_EQ(focusable, c.focusable);
        EXPECT_EQ(dialog.focusWidget(), dialog.Control(c.focusable.front()));
        EXPECT_EQ(qobject_cast<QPushButton*>(dialog.Control(kOkId))->isDefault(), c.okIsDefault);
    }

    TemplateDialog alone(AboutTemplate(), nullptr);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(QRect(alone.pos(), alone.size()).center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(QRect(alone.pos(), alone.size()).center().y() - screen.center().y()), 1);
}

} // namespace
} // namespace ruvo
