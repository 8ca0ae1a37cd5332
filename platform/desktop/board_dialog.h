// The Board dialog on Qt: the board's address, kept with the game's settings
// (empty at first: nothing is sent without one), Play for the Board, which
// asks the board for a start and plays it from the title once the dialog has
// closed, and Open the Board, the board's page in the browser.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <QDialog>

#include "platform/desktop/board_link.h"
#include "record/record.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ruvo {

class BoardDialog final : public QDialog {
  public:
    BoardDialog(GameRecord& record, QWidget* playField);

    QLineEdit* addressEdit = nullptr;
    QPushButton* playButton = nullptr;
    QPushButton* openButton = nullptr;

    // A fit address typed is kept however the dialog closes; an emptied
    // field leaves no board.
    void done(int result) override;

  private:
    // The address as typed: its one-line error, or empty and the address
    // in normal (empty for none).
    std::string CheckTyped(std::string& normal) const;
    // The address to use; empty, with the player told why, when there is none.
    std::string Address();
    void Play();
    void OpenPage();
    void Started(const BoardAnswer& answer);
    // Empty once the start is on its way to the title; else what went wrong.
    std::string StartError(const BoardAnswer& answer);

    GameRecord& record_;
    QLabel* state_;
};

// A one-line note of the board's, in a message box titled "Board" over
// parent and on stderr.
void BoardNote(QWidget* parent, const std::string& text);

} // namespace ruvo
