// A board's answers through WinHTTP under Wine, from a server of the test's
// own on 127.0.0.1 that answers one request with a set text: an answer read
// whole, one over the limit refused whether its length comes first or not,
// and a port that takes no connections; and the path a nameless game goes to.
// SPDX-License-Identifier: MIT
#include <winsock2.h>
// After winsock2.h, which must come first.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

#include "platform/windows/win_board_http.h"
#include "replay/board_client.h"

namespace ruvo {
namespace {

// Listens on a free port of 127.0.0.1 and answers the first request with answer.
class OneAnswer {
  public:
    explicit OneAnswer(std::string answer)
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof address;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
        listen(listener_, 1);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        server_ = std::thread([this, answer = std::move(answer)] {
            const SOCKET client = accept(listener_, nullptr, nullptr);
            std::string request;
            char chunk[1024];
            for (int got = 1; got > 0 && request.find("\r\n\r\n") == std::string::npos;)
                if ((got = recv(client, chunk, sizeof chunk, 0)) > 0)
                    request.append(chunk, static_cast<std::size_t>(got));
            send(client, answer.data(), static_cast<int>(answer.size()), 0);
            shutdown(client, SD_SEND);
            closesocket(client);
        });
    }
    ~OneAnswer()
    {
        closesocket(listener_); // an accept still waiting ends
        server_.join();
        WSACleanup();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/api/v1/tokens"; }

  private:
    SOCKET listener_;
    int port_ = 0;
    std::thread server_;
};

// Each answer through one server; an empty one stands for a port let go of
// before the request, which takes no connections.
TEST(BoardHttp, ReadsAnAnswerWithinTheLimitRefusesALargerOneWithOneLineAndTellsAPortNotReached)
{
    const std::string large(kBoardAnswerMaxBytes + 1, 'x');
    const std::string over = "its answer is over " + std::to_string(kBoardAnswerMaxBytes) + " bytes";
    const struct {
        std::string answer;
        int status;
        std::string body;
    } cases[] = {{"HTTP/1.1 201 Created\r\nContent-Length: 9\r\n\r\ntoken abc", 201, "token abc"},
                 {"HTTP/1.1 429 Too Many\r\nContent-Length: 2\r\n\r\n{}", 429, "{}"},
                 {"HTTP/1.1 201 Created\r\nContent-Length: " + std::to_string(large.size()) + "\r\n\r\n", 0, over},
                 {"HTTP/1.1 201 Created\r\nConnection: close\r\n\r\n" + large, 0, over},
                 {"", 0, "it takes no connections"}};
    for (const auto& [answer, status, body] : cases) {
        std::optional<OneAnswer> server(std::in_place, answer);
        const std::string url = server->Url();
        if (answer.empty())
            server.reset();
        const BoardReply reply = PostToBoard(url, "");
        EXPECT_EQ(reply.status, status) << answer.substr(0, 40);
        EXPECT_EQ(reply.body, body) << answer.substr(0, 40);
    }
}

TEST(BoardReplaysPath, NamesANamelessGameInPercentEncodedUtf8)
{
    EXPECT_EQ(BoardReplaysPath(""), "/api/v1/replays");
    EXPECT_EQ(BoardReplaysPath("Bea Ü&a=b~"), "/api/v1/replays?name=Bea%20%C3%9C%26a%3Db~");
}

} // namespace
} // namespace ruvo
