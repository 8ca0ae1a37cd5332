// ruvo-board: the board's service over HTTP, with the game's page beside it.
// A line a request goes to the standard error (never a body); SIGTERM and
// SIGINT end it once the requests under way are answered.
// SPDX-License-Identifier: MIT
#include <httplib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <sys/socket.h>

#include "services/board/board_args.h"
#include "services/board/board_service.h"
#include "services/board/board_store.h"
#include "services/board/json_text.h"

namespace {

using namespace ruvo::board;

std::int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void Serve(BoardService& service, const httplib::Request& in, httplib::Response& out)
{
    Request request{in.method, in.path, {}, in.body, in.remote_addr, NowMs()};
    for (const auto& [key, value] : in.params)
        request.query.emplace(key, value);
    Response answer = service.Answer(request);
    // Not the board's, and no file of the site's.
    if (answer.status == 0)
        answer = {404, "text/plain; charset=utf-8", "No such page.\n", {}};
    out.status = answer.status;
    for (const auto& [name, value] : answer.headers)
        out.set_header(name, value);
    out.set_header("X-Content-Type-Options", "nosniff");
    out.set_content(answer.body, answer.type);
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    const std::optional<BoardArgs> args = ParseBoardArgs({argv + 1, argv + argc}, error);
    if (!args) {
        std::fprintf(stderr, "ruvo-board: %s\n", error.c_str());
        return 2;
    }
    if (args->help) {
        std::fputs(kBoardUsage, stdout);
        return 0;
    }
    if (args->database == DefaultDatabase()) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(args->database.substr(7)).parent_path(), ignored);
    }
    const std::unique_ptr<BoardStore> store = OpenStore(args->database, error);
    if (!store) {
        std::fprintf(stderr, "ruvo-board: %s\n", error.c_str());
        return 2;
    }
    BoardService service(*store, args->perMinute, args->pacePercent);

    // The signals go to the thread that waits for them, not to the server's.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGINT);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);

    httplib::Server server;
    // A body past the limit is refused with 413 before it is read.
    server.set_payload_max_length(kBoardReplayMaxBytes);
    server.set_read_timeout(10, 0);
    server.set_write_timeout(10, 0);
    server.set_keep_alive_timeout(5);
    // The library listens with a queue of 5 connections, which a burst of
    // players overflows: the socket is kept to listen again with the
    // system's longest queue once it is bound. Its own options would also
    // let a second process bind the same port and share it unseen
    // (SO_REUSEPORT): only a port left in TIME_WAIT is taken again here.
    int listening = -1;
    server.set_socket_options([&](int socket) {
        const int yes = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = socket;
    });
    // The types browsers insist on for the page's files, whatever the
    // library knows: WebAssembly compiles as it streams in only as application/wasm.
    for (const auto& [extension, type] : {std::pair{"wasm", "application/wasm"},
                                          {"js", "text/javascript"},
                                          {"mjs", "text/javascript"},
                                          {"webmanifest", "application/manifest+json"},
                                          {"json", "application/json"},
                                          {"sf2", "application/octet-stream"},
                                          {"mid", "audio/midi"},
                                          {"MID", "audio/midi"},
                                          {"txt", "text/plain; charset=utf-8"},
                                          {"ttf", "font/ttf"}})
        server.set_file_extension_and_mimetype_mapping(extension, type);
    if (!args->site.empty() && !server.set_mount_point("/", args->site)) {
        std::fprintf(stderr, "ruvo-board: --site %s: no such folder\n", args->site.c_str());
        return 2;
    }
    const auto handler = [&](const httplib::Request& in, httplib::Response& out) { Serve(service, in, out); };
    server.Get(".*", handler);
    server.Post(".*", handler);
    server.Put(".*", handler);
    server.Delete(".*", handler);
    server.Patch(".*", handler);
    // What the library refuses by itself, before a request reaches the board
    // (a body past the limit, a body without its length), gets its reason
    // line too, as the board's own refusals have.
    server.set_error_handler([](const httplib::Request&, httplib::Response& out) {
        if (!out.body.empty())
            return;
        const std::string reason =
            out.status == 413 ? "too large: the board takes at most " + std::to_string(kBoardReplayMaxBytes) + " bytes"
            : out.status == 400
                ? std::string(
                      "the request could not be read: its first line, its headers, or a body without its length")
                : "refused with status " + std::to_string(out.status);
        out.set_content("{\"error\":" + JsonString(reason) + "}", "application/json");
    });
    server.set_logger([](const httplib::Request& in, const httplib::Response& out) {
        std::fprintf(stderr, "%s %s %s %d %zu\n", in.remote_addr.c_str(), in.method.c_str(), in.path.c_str(),
                     out.status, out.body.size());
    });

    int port = args->port;
    if (port == 0)
        port = server.bind_to_any_port(args->host);
    else if (!server.bind_to_port(args->host, port))
        port = -1;
    if (port > 0 && listening >= 0)
        ::listen(listening, SOMAXCONN);
    if (port <= 0) {
        std::fprintf(stderr, "ruvo-board: cannot listen on %s:%u\n", args->host.c_str(), unsigned(args->port));
        return 2;
    }
    const bool v6 = args->host.find(':') != std::string::npos;
    std::printf("ruvo-board: listening on http://%s%s%s:%d/\n", v6 ? "[" : "", args->host.c_str(), v6 ? "]" : "", port);
    std::fflush(stdout);

    std::thread stopper([&] {
        int signal = 0;
        sigwait(&ending, &signal);
        server.stop();
    });
    const bool served = server.listen_after_bind();
    // Woken for the listening's own end: ask the waiting thread to go.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return served ? 0 : 1;
}
