// The desktop's requests to a board, against a server of the test's own that
// answers as a strange board might: an answer is read whole up to the limit
// and refused in one line past it, whether or not it says its length; a
// board that is not there, or an address that is not http, is answered at
// once with the reason. (A real board is board_window_test.sh's.)
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <optional>

#include "platform/desktop/board_link.h"
#include "replay/board_client.h"

namespace ruvo {
namespace {

BoardAnswer Post(const std::string& url)
{
    QObject context;
    std::optional<BoardAnswer> answer;
    PostToBoard(&context, url, "text", [&](const BoardAnswer& got) { answer = got; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 15000)) << url;
    return answer.value_or(BoardAnswer{-1, {}, {}});
}

TEST(BoardLink, ReadsAnAnswerUpToTheLimitAndRefusesMoreInOneLine)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QByteArray reply;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &reply] {
            if (socket->readAll().contains("\r\n\r\n")) {
                socket->write(reply);
                socket->disconnectFromHost();
            }
        });
    });
    const std::string url = "http://127.0.0.1:" + std::to_string(server.serverPort()) + "/api/v1/replays";
    for (const qsizetype size : {qsizetype{kBoardAnswerMaxBytes}, qsizetype{kBoardAnswerMaxBytes + 1}})
        for (const bool saysLength : {true, false}) {
            const QByteArray length = saysLength ? "Content-Length: " + QByteArray::number(size) + "\r\n" : "";
            reply = "HTTP/1.1 201 Created\r\nConnection: close\r\n" + length + "\r\n" + QByteArray(size, 'x');
            const BoardAnswer answer = Post(url);
            const bool over = size > qsizetype{kBoardAnswerMaxBytes};
            EXPECT_EQ(answer.status, 201);
            EXPECT_EQ(answer.body.size(), over ? 0 : kBoardAnswerMaxBytes) << saysLength;
            EXPECT_EQ(answer.error,
                      over ? "The board's answer is larger than 16384 bytes, more than a board sends: it was not read."
                           : "")
                << saysLength;
        }
    server.close();
    for (const auto& [address, reason] :
         {std::pair{url, "Connection refused"}, std::pair{std::string("ftp://127.0.0.1/"), "only"}}) {
        const BoardAnswer answer = Post(address);
        EXPECT_EQ(answer.status, 0);
        EXPECT_NE(answer.body.find(reason), std::string::npos) << answer.body;
    }
}

} // namespace
} // namespace ruvo
