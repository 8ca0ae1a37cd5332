// The Replays list on Qt: the table's rows that have a replay and the last
// game (app/replay_keep.h), with Watch, Save As..., Open... and Delete.
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QDialog>
#include <QString>

#include "record/record.h"

class QListWidget;
class QPushButton;

namespace ruvo {

class ReplaysDialog final : public QDialog {
  public:
    ReplaysDialog(GameRecord& record, QWidget* playField);

    // The replay's text the player chose to watch, once the dialog is done.
    const std::optional<std::string>& Chosen() const { return chosen_; }
    // Or the file the player chose to open and watch: it is read and played
    // once the dialog has closed (WatchReplayFile).
    const QString& ChosenFile() const { return chosenFile_; }

    // The file dialogs, which the tests answer themselves: the path to save
    // to (the suggested one first) and the file to open; empty for none.
    std::function<QString(QWidget* parent, const QString& suggested)> askSavePath;
    std::function<QString(QWidget* parent)> askOpenPath;

    QListWidget* List() const { return list_; }
    QPushButton* watchButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* openButton = nullptr;
    QPushButton* deleteButton = nullptr;

  private:
    void Refill();
    // The selected replay's name in the store and its text; false with
    // nothing selected or a replay that cannot be read.
    bool Selected(std::string& name, std::string& text);
    void Watch();
    void SaveAs();
    void Open();
    void Delete();

    GameRecord& record_;
    QListWidget* list_;
    std::optional<std::string> chosen_;
    QString chosenFile_;
};

// A one-line error headed by what, in a message box over parent and on stderr.
void Complain(QWidget* parent, const QString& what, const std::string& error);
// Starts watching a replay's text; one that cannot be played gets its
// one-line error, headed by what, in a message box over parent and on stderr.
bool StartWatching(GameRecord& record, const std::string& text, const QString& what, QWidget* parent);
// The same for a replay file, read on a worker thread while the game goes on
// (replay_reading.h) and parsed once, by the engine, when it has been read.
// Nothing happens once parent has gone.
void WatchReplayFile(GameRecord& record, const QString& path, QWidget* parent);

} // namespace ruvo
