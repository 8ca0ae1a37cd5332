// The Replays list on Qt: the table's rows that have a replay and the last
// game (app/replay_keep.h), with Watch, Race, Save As..., Open..., Delete and
// Send to Board (platform/desktop/board_dialog.h).
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

// What a replay chosen is for: watched, or raced as a ghost beside a new game
// of the player's (replay/replay_race.h).
enum class ReplayUse { Watch, Race };

class ReplaysDialog final : public QDialog {
  public:
    ReplaysDialog(GameRecord& record, QWidget* playField);

    // The replay's text the player chose to watch or race, once the dialog
    // is done.
    const std::optional<std::string>& Chosen() const { return chosen_; }
    ReplayUse ChosenUse() const { return use_; }
    // Or the file the player chose to open and watch: it is read and played
    // once the dialog has closed (WatchReplayFile).
    const QString& ChosenFile() const { return chosenFile_; }

    // The file dialogs, which the tests answer themselves: the path to save
    // to (the suggested one first) and the file to open; empty for none.
    std::function<QString(QWidget* parent, const QString& suggested)> askSavePath;
    std::function<QString(QWidget* parent)> askOpenPath;

    QListWidget* List() const { return list_; }
    QPushButton* watchButton = nullptr;
    QPushButton* raceButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* openButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* sendButton = nullptr;

  private:
    void Refill();
    // The selected replay's name in the store and its text; false with
    // nothing selected or a replay that cannot be read.
    bool Selected(std::string& name, std::string& text);
    void Choose(ReplayUse use);
    void SaveAs();
    void Open();
    void Delete();
    // Sends the selected replay to the board at the stored address, once the
    // engine finds it fit to go, and tells the player the board's answer.
    void SendToBoard();

    GameRecord& record_;
    QListWidget* list_;
    std::optional<std::string> chosen_;
    ReplayUse use_ = ReplayUse::Watch;
    QString chosenFile_;
};

// A one-line error headed by what, in a message box over parent and on stderr.
void Complain(QWidget* parent, const QString& what, const std::string& error);
// Starts watching or racing a replay's text; one that cannot be played gets
// its one-line error, headed by what, in a message box over parent and on
// stderr.
bool StartWatching(GameRecord& record, const std::string& text, const QString& what, QWidget* parent,
                   ReplayUse use = ReplayUse::Watch);
// The same for a replay file, read on a worker thread while the game goes on
// (replay_reading.h) and parsed once, by the engine, when it has been read.
// Nothing happens once parent has gone.
void WatchReplayFile(GameRecord& record, const QString& path, QWidget* parent, ReplayUse use = ReplayUse::Watch);

} // namespace ruvo
