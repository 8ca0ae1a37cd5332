// The program's entry: the Qt and SDL machine under the game's own WinMain.
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
    return ruvo::WinMain(machine.windows, machine.MakeHost(), &resources, 1);
}
