// A board's requests over WinHTTP, on worker threads.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_board_http.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <winhttp.h>

#include <cstdio>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/windows/wide_text.h"
#include "replay/board_client.h"

namespace ruvo {
namespace {

// Closes a WinHTTP handle when it goes.
struct Handle {
    HINTERNET value = nullptr;
    explicit Handle(HINTERNET opened) : value(opened) {}
    ~Handle()
    {
        if (value != nullptr)
            WinHttpCloseHandle(value);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

// Why the board was not reached, from the last WinHTTP error.
BoardReply NotReached()
{
    const DWORD error = GetLastError();
    switch (error) {
    case ERROR_WINHTTP_TIMEOUT:
        return {0, "no answer within " + std::to_string(kBoardTimeoutMs / 1000) + " seconds"};
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        return {0, "the name of its machine is not known"};
    case ERROR_WINHTTP_CANNOT_CONNECT:
        return {0, "it takes no connections"};
    case ERROR_WINHTTP_CONNECTION_ERROR:
        return {0, "the connection broke"};
    case ERROR_WINHTTP_SECURE_FAILURE:
        return {0, "its secure connection could not be made"};
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
        return {0, "its answer is not HTTP"};
    default:
        return {0, "WinHTTP error " + std::to_string(error)};
    }
}

BoardReply TooLarge()
{
    return {0, "its answer is over " + std::to_string(kBoardAnswerMaxBytes) + " bytes"};
}

} // namespace

BoardReply PostToBoard(const std::string& url, std::string_view body)
{
    const std::wstring wideUrl = Widen(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
        return {0, "its address is not one of http or https"};
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);

    const Handle session(
        WinHttpOpen(L"Ruvo", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (session.value == nullptr)
        return NotReached();
    WinHttpSetTimeouts(session.value, kBoardTimeoutMs, kBoardTimeoutMs, kBoardTimeoutMs, kBoardTimeoutMs);
    const Handle connection(WinHttpConnect(session.value, host.c_str(), parts.nPort, 0));
    if (connection.value == nullptr)
        return NotReached();
    const Handle request(WinHttpOpenRequest(connection.value, L"POST", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                            WINHTTP_DEFAULT_ACCEPT_TYPES,
                                            parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
    if (request.value == nullptr)
        return NotReached();
    const auto size = static_cast<DWORD>(body.size());
    if (!WinHttpSendRequest(request.value, L"Content-Type: text/plain; charset=utf-8\r\n", static_cast<DWORD>(-1),
                            const_cast<char*>(body.data()), size, size, 0) ||
        !WinHttpReceiveResponse(request.value, nullptr))
        return NotReached();

    BoardReply reply;
    DWORD number = 0, numberSize = sizeof number;
    if (!WinHttpQueryHeaders(request.value, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &number, &numberSize, WINHTTP_NO_HEADER_INDEX))
        return NotReached();
    reply.status = static_cast<int>(number);
    // A length given beforehand is refused before a byte of the body is read.
    numberSize = sizeof number;
    if (WinHttpQueryHeaders(request.value, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &number, &numberSize, WINHTTP_NO_HEADER_INDEX) &&
        number > kBoardAnswerMaxBytes)
        return TooLarge();
    char chunk[4096];
    for (;;) {
        DWORD read = 0;
        if (!WinHttpReadData(request.value, chunk, sizeof chunk, &read))
            return NotReached();
        if (read == 0)
            break;
        if (reply.body.size() + read > kBoardAnswerMaxBytes)
            return TooLarge();
        reply.body.append(chunk, read);
    }
    return reply;
}

void BoardAnswerTarget::Forget()
{
    const std::lock_guard lock(mutex_);
    // Answers posted before, which the window will not take now.
    MSG message;
    while (window_ != nullptr &&
           PeekMessageW(&message, static_cast<HWND>(window_), message_, message_, PM_REMOVE | PM_NOYIELD))
        TakeBoardReply(message.lParam);
    window_ = nullptr;
}

bool BoardAnswerTarget::Deliver(BoardReply reply)
{
    const std::lock_guard lock(mutex_);
    if (window_ == nullptr)
        return false;
    auto* posted = new BoardReply(std::move(reply));
    if (PostMessageW(static_cast<HWND>(window_), message_, 0, reinterpret_cast<LPARAM>(posted)))
        return true;
    delete posted;
    return false;
}

void PostToBoardLater(std::shared_ptr<BoardAnswerTarget> target, std::string url, std::string body)
{
    try {
        std::thread([target, url = std::move(url), body = std::move(body)] {
            target->Deliver(PostToBoard(url, body));
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the answer comes at once, saying so.
        target->Deliver({0, "no thread could be started to ask it"});
    }
}

std::unique_ptr<BoardReply> TakeBoardReply(std::intptr_t lParam)
{
    return std::unique_ptr<BoardReply>(reinterpret_cast<BoardReply*>(lParam));
}

std::string BoardReplaysPath(std::string_view name)
{
    std::string path = "/api/v1/replays";
    if (name.empty())
        return path;
    path += "?name=";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || c == '-' ||
            c == '.' || c == '_' || c == '~') {
            path += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            path += escaped;
        }
    }
    return path;
}

} // namespace ruvo
