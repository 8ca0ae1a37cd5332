// The Board dialog: the address, Play for the Board and Open the Board.
// SPDX-License-Identifier: MIT
#include "platform/desktop/board_dialog.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>

#include "platform/desktop/board_link.h"
#include "replay/board_client.h"

namespace ruvo {

void BoardNote(QWidget* parent, const std::string& text)
{
    const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    std::fprintf(stderr, "ruvo: %s\n", line.toUtf8().constData());
    QMessageBox::information(parent, QStringLiteral("Board"), line);
}

BoardDialog::BoardDialog(GameRecord& record, QWidget* playField)
    : QDialog(playField != nullptr ? playField->window() : nullptr), record_(record), state_(new QLabel)
{
    setWindowTitle(QStringLiteral("Board"));
    addressEdit = new QLineEdit;
    addressEdit->setPlaceholderText(QStringLiteral("http://board.example.org"));
    addressEdit->setMaxLength(static_cast<int>(kBoardAddressMaxBytes));
    addressEdit->setMinimumWidth(addressEdit->fontMetrics().horizontalAdvance(QLatin1Char('m')) * 30);
    if (record.host.settings != nullptr)
        addressEdit->setText(QString::fromStdString(StoredBoardAddress(*record.host.settings)));
    auto* label = new QLabel(QStringLiteral("Board &address:"));
    label->setBuddy(addressEdit);

    playButton = new QPushButton(QStringLiteral("&Play for the Board"));
    playButton->setToolTip(QStringLiteral("A new game from the board's start, to send to it from the Replays list"));
    openButton = new QPushButton(QStringLiteral("&Open the Board"));
    auto* closeButton = new QPushButton(QStringLiteral("Close"));
    playButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {playButton, openButton, closeButton})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(addressEdit);
    layout->addWidget(state_);
    layout->addLayout(buttons);

    connect(playButton, &QPushButton::clicked, this, [this] { Play(); });
    connect(openButton, &QPushButton::clicked, this, [this] { OpenPage(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::string BoardDialog::CheckTyped(std::string& normal) const
{
    const QByteArray typed = addressEdit->text().trimmed().toUtf8();
    return CheckBoardAddress(std::string_view(typed.constData(), static_cast<std::size_t>(typed.size())), normal);
}

std::string BoardDialog::Address()
{
    std::string normal;
    if (const std::string error = CheckTyped(normal); !error.empty())
        BoardNote(this, "The board's address: " + error + ".");
    else if (normal.empty())
        BoardNote(this, "Give the board's address first, as http://HOST:PORT or https://HOST.");
    return normal;
}

void BoardDialog::done(int result)
{
    std::string normal;
    if (record_.host.settings != nullptr && CheckTyped(normal).empty())
        StoreBoardAddress(*record_.host.settings, normal);
    QDialog::done(result);
}

void BoardDialog::Play()
{
    const std::string address = Address();
    if (address.empty())
        return;
    playButton->setEnabled(false);
    state_->setText(QStringLiteral("Asking the board for a start..."));
    // Should the dialog close first, the request goes with it: no game starts.
    PostToBoard(this, BoardUrl(address, "/api/v1/tokens"), {}, [this](const BoardAnswer& answer) { Started(answer); });
}

void BoardDialog::Started(const BoardAnswer& answer)
{
    playButton->setEnabled(true);
    state_->clear();
    const std::string error = StartError(answer);
    if (error.empty())
        accept();
    else
        BoardNote(this, error);
}

std::string BoardDialog::StartError(const BoardAnswer& answer)
{
    if (!answer.error.empty())
        return answer.error;
    if (answer.status == 0)
        return BoardAnswerNote(0, answer.body);
    if (answer.status != 201) {
        const QString reason = QJsonDocument::fromJson(QByteArray::fromStdString(answer.body))
                                   .object()
                                   .value(QStringLiteral("error"))
                                   .toString()
                                   .simplified();
        return "The board gave no start: " +
               (reason.isEmpty() ? "it answered " + std::to_string(answer.status) : reason.left(200).toStdString());
    }
    // The engine's dialog count holds the start until this dialog has closed.
    const std::string error = PlayBoardStart(record_, answer.body);
    return error.empty() ? error : "The board's start cannot be played: " + error;
}

void BoardDialog::OpenPage()
{
    const std::string address = Address();
    if (!address.empty() && !QDesktopServices::openUrl(QUrl(QString::fromStdString(BoardUrl(address, "/board")))))
        BoardNote(this, "No browser could be started for " + BoardUrl(address, "/board") + ".");
}

} // namespace ruvo
