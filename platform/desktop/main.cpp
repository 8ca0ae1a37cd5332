// The program's entry: the Qt and SDL machine under the game's own WinMain,
// and the one argument it takes, a replay file to watch, or to race after
// --race.
// SPDX-License-Identifier: MIT
#include <QApplication>

#include <cstdio>

#include "app/shell.h"
#include "platform/desktop/qt_machine.h"
#include "platform/desktop/replays_dialog.h"
#include "resources/embedded.h"

int main(int argc, char** argv)
{
    ruvo::PrepareQtApplication();
    QApplication application(argc, argv);
    ruvo::NameQtApplication();

    ruvo::EmbeddedResources resources;
    ruvo::QtMachine machine;
    // ruvo FILE.ruvo-replay: the replay plays as soon as the window is up;
    // ruvo --race FILE: a game of the player's starts, the replay's beside it.
    const QStringList arguments = QCoreApplication::arguments();
    const bool race = arguments.size() > 1 && arguments.at(1) == QLatin1String("--race");
    if (race && arguments.size() < 3) {
        std::fputs("ruvo: --race needs a replay file: ruvo --race FILE.ruvo-replay\n", stderr);
        return 2;
    }
    if (arguments.size() > 1)
        machine.windows.PlayAtStart(arguments.at(race ? 2 : 1), race ? ruvo::ReplayUse::Race : ruvo::ReplayUse::Watch);
    return ruvo::WinMain(machine.windows, machine.MakeHost(), &resources, 1);
}
