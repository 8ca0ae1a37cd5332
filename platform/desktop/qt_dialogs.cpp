// The four modal dialogs on Qt.
// SPDX-License-Identifier: MIT
#include "platform/desktop/qt_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>

#include <cstdio>

#include "platform/desktop/board_dialog.h"
#include "platform/desktop/licences_dialog.h"
#include "platform/desktop/qt_window.h"
#include "platform/desktop/replays_dialog.h"
#include "platform/desktop/template_dialog.h"
#include "settings/dialog_logic.h"

namespace ruvo {
namespace {

// Runs a dialog to its end. The dialog lives on the heap: should its owner,
// the game window, go away while it is open, it takes the dialog with it.
template <typename Prepare> int RunDialog(const DialogTemplate& layout, const QtWindowSystem& windows, Prepare prepare)
{
    QPointer<TemplateDialog> dialog = new TemplateDialog(layout, windows.PlayField(), windows.LargeIcon());
    prepare(*dialog);
    const int result = dialog->exec();
    delete dialog.data();
    return result;
}

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

// The About box as its template lays it out, with a Licences button of the
// desktop's own beside OK, the same size, in the free space on its right.
int QtDialogHost::RunAbout()
{
    return RunDialog(AboutTemplate(), windows_, [](TemplateDialog& dialog) {
        dialog.AddControl({ControlKind::Button, kLicencesId, "Licences", {90, 30, 41, 12}});
        dialog.OnCommand([&dialog](int id) {
            if (id == kLicencesId)
                ShowLicences(&dialog);
            else if (id == kOkId || id == kCancelId)
                dialog.done(0);
        });
    });
}

int QtDialogHost::RunOption(GameRecord& record)
{
    return RunDialog(OptionTemplate(), windows_, [&record](TemplateDialog& dialog) {
        const std::array<std::string, 8> values = FillOptionEdits(record);
        for (std::size_t row = 0; row < kOptionRows.size(); ++row)
            dialog.Edit(kOptionRows[row].editId)->setText(FromUtf8(values[row]));
        dialog.OnCommand([&record, &dialog](int id) {
            if (id == kOkId) {
                std::array<std::string, 8> edits;
                for (std::size_t row = 0; row < kOptionRows.size(); ++row)
                    edits[row] = dialog.Edit(kOptionRows[row].editId)->text().toStdString();
                StoreOptionEdits(record, edits);
                dialog.done(1);
            } else if (id == kCancelId) {
                dialog.done(0);
            }
        });
    });
}

int QtDialogHost::RunHighScore(GameRecord& record)
{
    return RunDialog(HighScoreTemplate(), windows_, [&record](TemplateDialog& dialog) {
        const std::array<HighScoreRowText, 5> rows = HighScoreRows(record);
        for (int k = 0; k < 5; ++k) {
            const HighScoreRowText& row = rows[static_cast<std::size_t>(k)];
            dialog.Text(ScoreCellId(k))->setText(FromUtf8(row.score));
            dialog.Text(RoundCellId(k))->setText(FromUtf8(row.round));
            dialog.Text(NameCellId(k))->setText(FromUtf8(row.name));
        }
    });
}

int QtDialogHost::RunInput(GameRecord& record)
{
    return RunDialog(InputTemplate(), windows_, [&record](TemplateDialog& dialog) {
        // Only OK closes it: a name must be confirmed, even an empty one.
        dialog.OnCommand([&record, &dialog](int id) {
            if (id != kOkId)
                return;
            const QByteArray name = dialog.Edit(kNameEditId)->text().toUtf8();
            StoreEntryName(record, std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
            dialog.done(0);
        });
    });
}

int QtDialogHost::RunReplays(GameRecord& record)
{
    QPointer<ReplaysDialog> dialog = new ReplaysDialog(record, windows_.PlayField());
    const int result = dialog->exec();
    // The window, and the dialog with it, may have gone while it was open.
    const std::optional<std::string> chosen = dialog ? dialog->Chosen() : std::nullopt;
    const ReplayUse use = dialog ? dialog->ChosenUse() : ReplayUse::Watch;
    const QString chosenFile = dialog ? dialog->ChosenFile() : QString();
    delete dialog.data();
    if (QWidget* field = windows_.PlayField(); field != nullptr) {
        if (chosen)
            StartWatching(record, *chosen, QStringLiteral("Replays"), field, use);
        else if (!chosenFile.isEmpty())
            WatchReplayFile(record, chosenFile, field);
    }
    return result;
}

// A start the board gives is handed to the engine inside the dialog; it
// plays once the dialog has closed and the engine's command has returned.
int QtDialogHost::RunBoard(GameRecord& record)
{
    QPointer<BoardDialog> dialog = new BoardDialog(record, windows_.PlayField());
    const int result = dialog->exec();
    delete dialog.data();
    return result;
}

// Modal, as the engine's other dialogs, which count it as one.
void QtDialogHost::ShowNote(std::string_view text)
{
    const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    std::fprintf(stderr, "ruvo: %s\n", line.toUtf8().constData());
    QWidget* field = windows_.PlayField();
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Ruvo"), line, QMessageBox::Ok,
                                                field != nullptr ? field->window() : nullptr);
    box->exec();
    delete box.data();
}

} // namespace ruvo
