// libFuzzer target: any request to the board's service (a method, a path
// with its query, a body, each line of the input in turn), over a board in
// memory with some games on it. Whatever comes, the answer is one of the
// statuses its route may give, an error is JSON on one line, and a page
// never carries markup it was sent.
// SPDX-License-Identifier: MIT
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_fail.h"
#include "services/board/board_service.h"
#include "services/board/board_store.h"

namespace {

using namespace ruvo::board;

// The text up to the first separator (all of it when there is none); the
// text goes on after the separator.
std::string_view Cut(std::string_view& text, char separator)
{
    const std::size_t end = text.find(separator);
    const std::string_view part = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    return part;
}

// A board in memory, made anew now and then: the starts it gives would
// otherwise fill it over a long run.
BoardService& Service()
{
    static std::unique_ptr<BoardStore> store;
    static std::optional<BoardService> service;
    static int runs = 0;
    if (runs++ % 20000 == 0) {
        service.reset();
        std::string error;
        store = OpenSqliteStore(":memory:", error);
        if (!store)
            Fail("no store", error);
        service.emplace(*store, 0, 0);
    }
    return *service;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    Request request;
    request.method = Cut(text, '\n');
    const std::string target(Cut(text, '\n'));
    request.body = std::string(text);
    request.address = "127.0.0.1";
    request.nowMs = 1796860800000;
    std::string_view query = target;
    request.path = Cut(query, '?');
    while (!query.empty()) {
        std::string_view value = Cut(query, '&');
        const std::string_view name = Cut(value, '=');
        request.query.emplace(std::string(name), std::string(value));
    }

    const Response answer = Service().Answer(request);
    static const std::set<int> kStatuses = {0, 200, 201, 303, 400, 404, 405, 409, 413, 422, 429};
    if (kStatuses.count(answer.status) == 0)
        Fail("an unexpected status", std::to_string(answer.status) + " for " + request.method + " " + target);
    if (answer.status >= 400 &&
        (answer.body.rfind("{\"error\":\"", 0) != 0 || answer.body.find('\n') != std::string::npos))
        Fail("an error that is not JSON on one line", answer.body);
    if (answer.type.rfind("text/html", 0) == 0 && answer.body.find("<script") != std::string::npos)
        Fail("a page with a script in it", answer.body);
    return 0;
}
