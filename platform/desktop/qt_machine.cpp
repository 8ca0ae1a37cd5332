// The desktop machine: Qt's and SDL's parts gathered into the host.
// SPDX-License-Identifier: MIT
#include "platform/desktop/qt_machine.h"

#include "platform/kit/machine_host.h"

#include <utility>

#include <QGuiApplication>

namespace ruvo {

void PrepareQtApplication()
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

void NameQtApplication()
{
    QGuiApplication::setOrganizationName("Tolp");
    QGuiApplication::setApplicationName("Ruvo");
    // Ties the window to its desktop entry and icon where the window class
    // does not (Wayland's app id).
    QGuiApplication::setDesktopFileName("org.tolp.Ruvo");
}

QtMachine::QtMachine(std::unique_ptr<QtSettingsStore> store) : settings(std::move(store))
{
    windows.KeepViewIn(settings.get());
}

Host QtMachine::MakeHost()
{
    Host host = MachineHost(*this, settings.get(), "desktop");
    host.board = true;
    return host;
}

} // namespace ruvo
