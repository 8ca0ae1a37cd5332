// Reading a replay file named by the player (on the command line or through
// Open...): only a regular file, never more than kReplayMaxBytes + 1 bytes of
// it, and off the GUI thread, so that the game goes on ticking while a slow
// file system answers.
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

class QObject;
class QString;

namespace ruvo {

struct ReplayFileRead {
    std::string text;
    std::string error; // empty when the text was read whole
};

// Reads the whole file, within the replay limit. A FIFO, a device or a
// folder is refused before anything is read from it, without waiting on a
// writer; a file over the limit gets ReplayTooLarge.
ReplayFileRead ReadReplayFile(const QString& path);

// Reads it on a worker thread and hands the result to done on the thread of
// context, the GUI thread; nothing is handed once context has gone.
void ReadReplayFileLater(const QString& path, QObject* context, std::function<void(const ReplayFileRead&)> done);

} // namespace ruvo
