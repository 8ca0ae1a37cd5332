// The real window's tick period: the game's own start-up on the Qt window
// system with the real platform objects, a game in play, and the time between
// the timer messages that reach the game, as an application-wide event filter
// sees them. The period is set the way the Option dialog sets it, through the
// record, and the timer restarted as the game restarts it.
//
// Usage: ruvo-tick-bench SECONDS PERIOD-MS...   (needs a display)
// Prints, for each period, period=P intervals=N mean_ms=M p99_ms=Q min_ms=L max_ms=X.
// The settings go to a file in the current directory, not the user's store.
// With RUVO_TICK_BENCH_DUMP=FILE, the delivery times (ns) are appended to FILE.
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <utility>
#include <vector>

#include "app/shell.h"
#include "game/flow.h"
#include "platform/desktop/qt_machine.h"
#include "resources/embedded.h"

namespace {

// Notes when each timer message of the given period is delivered.
class TickWatch final : public QObject {
  public:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() == QEvent::Timer && period > 0) {
            auto* timer = qobject_cast<QTimer*>(receiver);
            if (timer != nullptr && timer->interval() == period &&
                static_cast<QTimerEvent*>(event)->timerId() == timer->timerId())
                times.push_back(clock.nsecsElapsed());
        }
        return false;
    }

    int period = 0;
    QElapsedTimer clock;
    std::vector<qint64> times;
};

struct Figures {
    std::size_t intervals = 0;
    double mean = 0;
    double p99 = 0;
    double min = 0;
    double max = 0;
};

// The first intervals after a restart are left out: the timer's first period
// starts wherever the restart fell.
Figures Measure(const std::vector<qint64>& times)
{
    Figures f;
    constexpr std::size_t kSkip = 3;
    if (times.size() < kSkip + 2)
        return f;
    std::vector<double> ms;
    for (std::size_t i = kSkip + 1; i < times.size(); ++i)
        ms.push_back(static_cast<double>(times[i] - times[i - 1]) / 1e6);
    f.intervals = ms.size();
    f.mean = std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(ms.size());
    std::sort(ms.begin(), ms.end());
    f.p99 = ms[std::min(ms.size() - 1, static_cast<std::size_t>(0.99 * static_cast<double>(ms.size())))];
    f.min = ms.front();
    f.max = ms.back();
    if (const char* dump = std::getenv("RUVO_TICK_BENCH_DUMP")) {
        if (FILE* out = std::fopen(dump, "a")) {
            for (const qint64 t : times)
                std::fprintf(out, "%lld\n", static_cast<long long>(t));
            std::fprintf(out, "-\n");
            std::fclose(out);
        }
    }
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: ruvo-tick-bench SECONDS PERIOD-MS...\n");
        return 2;
    }
    const int seconds = std::atoi(argv[1]);
    std::vector<int> periods;
    for (int i = 2; i < argc; ++i)
        periods.push_back(std::atoi(argv[i]));
    if (seconds <= 0 || std::any_of(periods.begin(), periods.end(), [](int p) { return p < 10; })) {
        std::fprintf(stderr, "ruvo-tick-bench: SECONDS > 0, periods of 10 ms or more\n");
        return 2;
    }

    // As the game's own main().
    ruvo::PrepareQtApplication();
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    ruvo::NameQtApplication();

    using namespace ruvo;
    EmbeddedResources resources;
    QtMachine machine(std::make_unique<QtSettingsStore>("tick-bench.conf"));
    QtWindowSystem& windows = machine.windows;

    std::unique_ptr<GameRecord> record = StartUp(windows, machine.MakeHost(), &resources, 1);
    if (!record) {
        std::fprintf(stderr, "ruvo-tick-bench: no game window\n");
        return 1;
    }
    // A game that stays in play at one speed: lives and the hurry-up out of reach.
    record->game.optDamage = 0x7FFFFFFF;
    record->game.optHarryLevel = 0xFFFFFFFF;

    TickWatch watch;
    watch.clock.start();
    application.installEventFilter(&watch);

    std::vector<Figures> results(periods.size());
    std::size_t current = 0;
    const auto begin = [&] {
        record->game.optSpeed = static_cast<std::uint32_t>(periods[current]);
        record->game.optHarrySpeed = static_cast<std::uint32_t>(periods[current]);
        InitTitle(record->game);
        MainWndProc(*record, Message{MessageKind::Command, IDM_START});
        watch.times.clear();
        watch.period = periods[current];
    };
    QTimer phase;
    phase.setSingleShot(true);
    QObject::connect(&phase, &QTimer::timeout, [&] {
        results[current] = Measure(watch.times);
        watch.period = 0;
        if (++current < periods.size()) {
            begin();
            phase.start(seconds * 1000);
        } else {
            ExitCommand(*record); // saves, closes the window; the quit follows
        }
    });
    // Let the window come up and settle before the first period.
    QTimer::singleShot(500, [&] {
        begin();
        phase.start(seconds * 1000);
    });
    const int code = windows.RunMessageLoop();
    application.removeEventFilter(&watch);
    ShutDown(std::move(record));

    bool complete = code == 0;
    for (std::size_t i = 0; i < periods.size(); ++i) {
        const Figures& f = results[i];
        std::printf("period=%d intervals=%zu mean_ms=%.3f p99_ms=%.3f min_ms=%.3f max_ms=%.3f\n", periods[i],
                    f.intervals, f.mean, f.p99, f.min, f.max);
        complete = complete && f.intervals > 0;
    }
    return complete ? 0 : 1;
}
