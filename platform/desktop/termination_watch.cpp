// SIGTERM, SIGINT and SIGHUP turned into a call on the Qt side.
// SPDX-License-Identifier: MIT
#include "platform/desktop/termination_watch.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ruvo {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end, for the handler; a handler may only write to it.
volatile std::sig_atomic_t writeEnd = -1;
int pipeEnds[2] = {-1, -1};

extern "C" void NoteSignal(int)
{
    const char byte = 1;
    const int fd = writeEnd;
    if (fd >= 0) [[maybe_unused]]
        const ssize_t written = write(fd, &byte, 1);
}

void Restore()
{
    for (const int signal : kSignals)
        std::signal(signal, SIG_DFL);
}

} // namespace

TerminationWatch::TerminationWatch(std::function<void()> onSignal) : onSignal_(std::move(onSignal))
{
    if (pipeEnds[0] < 0 && pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeEnd = pipeEnds[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char bytes[16];
        while (read(pipeEnds[0], bytes, sizeof bytes) > 0) {
        }
        Restore();
        onSignal_();
    });
    struct sigaction action{};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

TerminationWatch::~TerminationWatch()
{
    Restore();
    writeEnd = -1;
}

} // namespace ruvo
