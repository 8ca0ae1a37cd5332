// The Replays list on Qt and its Watch, Race, Save As..., Open..., Delete and
// Send to Board.
// SPDX-License-Identifier: MIT
#include "platform/desktop/replays_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>

#include "platform/desktop/board_dialog.h"
#include "platform/desktop/replay_reading.h"
#include "replay/board_client.h"
#include "replay/replay_keep.h"
#include "replay/replay_race.h"
#include "replay/replay_watch.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

const QString kFilter = QStringLiteral("Ruvo replays (*.ruvo-replay)");

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void Complain(QWidget* parent, const QString& what, const std::string& error)
{
    const QString line = what + QStringLiteral(": ") + FromUtf8(error);
    std::fprintf(stderr, "ruvo: %s\n", line.toUtf8().constData());
    QMessageBox::warning(parent, QStringLiteral("Replays"), line);
}

ReplaysDialog::ReplaysDialog(GameRecord& record, QWidget* playField)
    : QDialog(playField != nullptr ? playField->window() : nullptr), record_(record), list_(new QListWidget)
{
    setWindowTitle(QStringLiteral("Replays"));
    askSavePath = [](QWidget* parent, const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Save Replay"), suggested, kFilter);
    };
    askOpenPath = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Open Replay"), QDir::homePath(), kFilter);
    };

    watchButton = new QPushButton(QStringLiteral("&Watch"));
    raceButton = new QPushButton(QStringLiteral("&Race"));
    raceButton->setToolTip(QStringLiteral("Play a new game from the replay's start, its game beside yours"));
    saveButton = new QPushButton(QStringLiteral("&Save As..."));
    openButton = new QPushButton(QStringLiteral("&Open..."));
    deleteButton = new QPushButton(QStringLiteral("&Delete"));
    sendButton = new QPushButton(QStringLiteral("Send to &Board"));
    sendButton->setToolTip(QStringLiteral("Send a game played for the board (Game > Board...) to the board"));
    auto* closeButton = new QPushButton(QStringLiteral("Close"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {watchButton, raceButton, saveButton, openButton, deleteButton, sendButton, closeButton})
        buttons->addWidget(button);
    watchButton->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    list_->setMinimumWidth(list_->fontMetrics().horizontalAdvance(QLatin1Char('m')) * 40);

    connect(watchButton, &QPushButton::clicked, this, [this] { Choose(ReplayUse::Watch); });
    connect(raceButton, &QPushButton::clicked, this, [this] { Choose(ReplayUse::Race); });
    connect(list_, &QListWidget::itemActivated, this, [this] { Choose(ReplayUse::Watch); });
    connect(saveButton, &QPushButton::clicked, this, [this] { SaveAs(); });
    connect(openButton, &QPushButton::clicked, this, [this] { Open(); });
    connect(deleteButton, &QPushButton::clicked, this, [this] { Delete(); });
    connect(sendButton, &QPushButton::clicked, this, [this] { SendToBoard(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        for (QPushButton* button : {watchButton, raceButton, saveButton, deleteButton, sendButton})
            button->setEnabled(row >= 0);
    });
    Refill();
}

void ReplaysDialog::Refill()
{
    list_->clear();
    for (const KeptReplay& kept : KeptReplays(record_)) {
        auto* item = new QListWidgetItem(FromUtf8(kept.label), list_);
        item->setData(Qt::UserRole, FromUtf8(kept.name));
    }
    list_->setCurrentRow(list_->count() > 0 ? 0 : -1);
    for (QPushButton* button : {watchButton, raceButton, saveButton, deleteButton, sendButton})
        button->setEnabled(list_->count() > 0);
}

bool ReplaysDialog::Selected(std::string& name, std::string& text)
{
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr)
        return false;
    name = item->data(Qt::UserRole).toString().toStdString();
    if (ReadKeptReplay(record_, name, text))
        return true;
    Complain(this, item->text(), "the replay cannot be read");
    Refill();
    return false;
}

void ReplaysDialog::Choose(ReplayUse use)
{
    std::string name, text;
    if (!Selected(name, text))
        return;
    chosen_ = text;
    use_ = use;
    accept();
}

void ReplaysDialog::SaveAs()
{
    std::string name, text, error;
    if (!Selected(name, text))
        return;
    const std::optional<Replay> replay = ReadReplay(text, error);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = (folder.isEmpty() ? QDir::homePath() : folder) + QLatin1Char('/') +
                              FromUtf8(replay ? ReplayFileName(*replay) : "Ruvo.ruvo-replay");
    const QString path = askSavePath(this, suggested);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) || !file.commit())
        Complain(this, path, file.errorString().toStdString());
}

void ReplaysDialog::Open()
{
    // Read and parsed once the list has closed, off the GUI thread: a file on
    // a slow or hung file system holds neither the list nor the game.
    chosenFile_ = askOpenPath(this);
    if (!chosenFile_.isEmpty())
        accept();
}

void ReplaysDialog::Delete()
{
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr)
        return;
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Replays"), QStringLiteral("Delete the replay of %1?").arg(item->text().simplified()));
    if (answer != QMessageBox::Yes)
        return;
    RemoveKeptReplay(record_, item->data(Qt::UserRole).toString().toStdString());
    Refill();
}

void ReplaysDialog::SendToBoard()
{
    std::string name, text;
    if (!Selected(name, text))
        return;
    if (const std::string refusal = BoardSendRefusal(text); !refusal.empty()) {
        BoardNote(this, refusal);
        return;
    }
    const std::string address = record_.host.settings != nullptr ? StoredBoardAddress(*record_.host.settings) : "";
    if (address.empty()) {
        BoardNote(this, "Give the board's address in Game > Board... first.");
        return;
    }
    // A game that asked for no name goes under the name last typed here.
    std::string path = "/api/v1/replays", error;
    const std::optional<Replay> replay = ReadReplay(text, error);
    const std::string_view lastName = NameText(record_.game.entryName);
    if (replay && replay->result.name.empty() && !lastName.empty())
        path += "?name=" + QUrl::toPercentEncoding(FromUtf8(std::string(lastName))).toStdString();
    sendButton->setEnabled(false);
    PostToBoard(this, BoardUrl(address, path), text, [this](const BoardAnswer& answer) {
        sendButton->setEnabled(list_->currentRow() >= 0);
        BoardNote(this, answer.error.empty() ? BoardAnswerNote(answer.status, answer.body) : answer.error);
    });
}

bool StartWatching(GameRecord& record, const std::string& text, const QString& what, QWidget* parent, ReplayUse use)
{
    const std::string error = use == ReplayUse::Race ? RaceReplay(record, text) : WatchReplay(record, text);
    if (!error.empty())
        Complain(parent, what, error);
    return error.empty();
}

void WatchReplayFile(GameRecord& record, const QString& path, QWidget* parent, ReplayUse use)
{
    ReadReplayFileLater(path, parent, [&record, path, parent, use](const ReplayFileRead& read) {
        if (read.error.empty())
            StartWatching(record, read.text, path, parent, use);
        else
            Complain(parent, path, read.error);
    });
}

} // namespace ruvo
