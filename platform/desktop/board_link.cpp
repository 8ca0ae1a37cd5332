// Requests to a board through QNetworkAccessManager, bounded in size and time.
// SPDX-License-Identifier: MIT
#include "platform/desktop/board_link.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <memory>

#include "replay/board_client.h"

namespace ruvo {
namespace {

constexpr std::string_view kAddressKey = "BoardAddress";

// What one reply has come to while it is under way.
struct Progress {
    QByteArray body;
    std::string error;
    bool timedOut = false;
};

QNetworkAccessManager& ManagerOf(QObject* context)
{
    auto* manager = context->findChild<QNetworkAccessManager*>(QString(), Qt::FindDirectChildrenOnly);
    return manager != nullptr ? *manager : *new QNetworkAccessManager(context);
}

std::string TooLarge()
{
    return "The board's answer is larger than " + std::to_string(kBoardAnswerMaxBytes) +
           " bytes, more than a board sends: it was not read.";
}

} // namespace

std::string StoredBoardAddress(SettingsStore& settings)
{
    // Another window may have stored one since this one read the settings.
    settings.Refresh();
    std::string address;
    if (!settings.QueryString(kAddressKey, address, kBoardAddressMaxBytes))
        return {};
    std::string normal;
    return CheckBoardAddress(address, normal).empty() ? normal : std::string();
}

void StoreBoardAddress(SettingsStore& settings, std::string_view address)
{
    settings.SetString(kAddressKey, address);
    settings.Refresh(); // written now, for the game's other windows
}

void PostToBoard(QObject* context, const std::string& url, std::string_view body,
                 std::function<void(const BoardAnswer&)> done)
{
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    if (!address.isValid() ||
        (address.scheme() != QLatin1String("http") && address.scheme() != QLatin1String("https"))) {
        QTimer::singleShot(0, context, [done] { done({0, "a board is reached over http:// or https:// only", {}}); });
        return;
    }
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/plain; charset=utf-8"));
    // A board answers where it was asked; a redirection is shown as its status.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply =
        ManagerOf(context).post(request, QByteArray(body.data(), static_cast<qsizetype>(body.size())));
    reply->setReadBufferSize(static_cast<qint64>(kBoardAnswerMaxBytes) + 1);
    auto progress = std::make_shared<Progress>();
    const auto refuse = [reply, progress] {
        progress->error = TooLarge();
        reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, refuse] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > static_cast<qlonglong>(kBoardAnswerMaxBytes))
            refuse();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, progress, refuse] {
        if (!progress->error.empty())
            return;
        progress->body += reply->read(static_cast<qint64>(kBoardAnswerMaxBytes) + 1 - progress->body.size());
        if (progress->body.size() > static_cast<qsizetype>(kBoardAnswerMaxBytes))
            refuse();
    });
    QTimer::singleShot(kBoardWaitMs, reply, [reply, progress] {
        progress->timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, context, [reply, progress, done = std::move(done)] {
        reply->deleteLater();
        BoardAnswer answer;
        answer.error = progress->error;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (progress->timedOut) {
            answer.body = "no answer within " + std::to_string(kBoardWaitMs / 1000) + " seconds";
        } else if (!status.isValid()) {
            answer.body = reply->errorString().toStdString();
        } else {
            answer.status = status.toInt();
            if (answer.error.empty())
                progress->body += reply->read(static_cast<qint64>(kBoardAnswerMaxBytes) + 1 - progress->body.size());
            if (progress->body.size() > static_cast<qsizetype>(kBoardAnswerMaxBytes))
                answer.error = TooLarge();
            // What was refused is never handed on, not even in part.
            if (answer.error.empty())
                answer.body = progress->body.toStdString();
        }
        done(answer);
    });
}

} // namespace ruvo
