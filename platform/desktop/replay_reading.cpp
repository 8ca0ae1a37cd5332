// Bounded replay file reading, and reading on a worker thread.
// SPDX-License-Identifier: MIT
#include "platform/desktop/replay_reading.h"

#include <QFile>
#include <QFutureWatcher>
#include <QString>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "replay/replay_file.h"

namespace ruvo {

ReplayFileRead ReadReplayFile(const QString& path)
{
    ReplayFileRead read;
    // O_NONBLOCK: a FIFO opens at once, with no writer, and is then refused.
    const int file = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        read.error = std::string("cannot be opened: ") + std::strerror(errno);
        return read;
    }
    struct stat info{};
    if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        read.error = S_ISDIR(info.st_mode) ? "a folder, not a replay file" : "not a regular file";
    } else if (static_cast<std::uint64_t>(info.st_size) > kReplayMaxBytes) {
        read.error = ReplayTooLarge(static_cast<std::uint64_t>(info.st_size));
    } else {
        // One byte past the limit tells a file that grew while it was read.
        char buffer[65536];
        while (read.text.size() <= kReplayMaxBytes) {
            const std::size_t room = kReplayMaxBytes + 1 - read.text.size();
            const ssize_t n = ::read(file, buffer, std::min(sizeof buffer, room));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                read.error = std::string("cannot be read: ") + std::strerror(errno);
                break;
            }
            if (n == 0)
                break;
            read.text.append(buffer, static_cast<std::size_t>(n));
        }
        if (read.error.empty() && read.text.size() > kReplayMaxBytes) {
            const std::uint64_t now = fstat(file, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
            read.error = ReplayTooLarge(std::max<std::uint64_t>(now, read.text.size()));
        }
    }
    close(file);
    if (!read.error.empty())
        read.text.clear();
    return read;
}

void ReadReplayFileLater(const QString& path, QObject* context, std::function<void(const ReplayFileRead&)> done)
{
    // The watcher belongs to context: gone with it, it hands nothing over.
    auto* watcher = new QFutureWatcher<ReplayFileRead>(context);
    QObject::connect(watcher, &QFutureWatcher<ReplayFileRead>::finished, watcher, [watcher, done = std::move(done)] {
        const ReplayFileRead read = watcher->result();
        watcher->deleteLater();
        done(read);
    });
    watcher->setFuture(QtConcurrent::run([path] { return ReadReplayFile(path); }));
}

} // namespace ruvo
