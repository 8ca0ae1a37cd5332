// The program's entry: the Qt and SDL machine under the game's own WinMain,
// and the one argument it takes, a replay file to watch.
// SPDX-License-Identifier: MIT
#include <QApplication>

#include "app/shell.h"
#include "platform/desktop/qt_machine.h"
#include "resources/embedded.h"

int main(int argc, char** argv)
{
    ruvo::PrepareQtApplication();
    QApplication application(argc, argv);
    ruvo::NameQtApplication();

    ruvo::EmbeddedResources resources;
    ruvo::QtMachine machine;
    // ruvo FILE.ruvo-replay: the replay plays as soon as the window is up.
    if (const QStringList arguments = QCoreApplication::arguments(); arguments.size() > 1)
        machine.windows.PlayAtStart(arguments.at(1));
    return ruvo::WinMain(machine.windows, machine.MakeHost(), &resources, 1);
}
