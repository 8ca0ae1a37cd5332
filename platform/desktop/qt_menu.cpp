// The menu bar and its accelerators on Qt.
// SPDX-License-Identifier: MIT
#include "platform/desktop/qt_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/menu_table.h"

namespace ruvo {
namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QKeyCombination QtKeys(const Accelerator& accelerator)
{
    Qt::Key key = Qt::Key_unknown;
    switch (accelerator.key) {
    case Key::F1:
        key = Qt::Key_F1;
        break;
    case Key::F2:
        key = Qt::Key_F2;
        break;
    case Key::F3:
        key = Qt::Key_F3;
        break;
    case Key::F4:
        key = Qt::Key_F4;
        break;
    case Key::F5:
        key = Qt::Key_F5;
        break;
    case Key::F8:
        key = Qt::Key_F8;
        break;
    case Key::F10:
        key = Qt::Key_F10;
        break;
    case Key::F11:
        key = Qt::Key_F11;
        break;
    case Key::Plus:
        key = Qt::Key_Plus;
        break;
    case Key::Equal:
        key = Qt::Key_Equal;
        break;
    case Key::Minus:
        key = Qt::Key_Minus;
        break;
    case Key::Digit0:
        key = Qt::Key_0;
        break;
    case Key::Return:
        key = Qt::Key_Return;
        break;
    case Key::Enter:
        key = Qt::Key_Enter;
        break;
    }
    Qt::KeyboardModifiers modifiers;
    if (accelerator.modifiers & kCtrl)
        modifiers |= Qt::ControlModifier;
    if (accelerator.modifiers & kAlt)
        modifiers |= Qt::AltModifier;
    return QKeyCombination(modifiers, key);
}

// Every key of the command, the one its label hints at first.
QList<QKeySequence> KeysOf(std::uint16_t command)
{
    QList<QKeySequence> keys;
    for (const Accelerator& accelerator : GameAccelerators())
        if (accelerator.command == command)
            keys.append(QKeySequence(QtKeys(accelerator)));
    return keys;
}

QAction** ViewSlot(ViewActions& view, std::uint16_t id)
{
    switch (id) {
    case IDM_ZOOMIN:
        return &view.zoomIn;
    case IDM_ZOOMOUT:
        return &view.zoomOut;
    case IDM_AUTOSIZE:
        return &view.automaticSize;
    case IDM_FULLSCREEN:
        return &view.fullScreen;
    default:
        return nullptr;
    }
}

} // namespace

MenuActions BuildGameMenu(QMenuBar& bar, ViewActions* view)
{
    MenuActions actions;
    ViewActions unused;
    ViewActions& viewSlots = view != nullptr ? *view : unused;
    for (const MenuPopup& popup : GameMenuBar()) {
        QMenu* menu = bar.addMenu(Text(popup.title));
        for (const MenuEntry& item : popup.items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(Text(LabelText(item.label)));
            action->setCheckable(item.checkable);
            if (!popup.viewOnly) {
                actions[static_cast<MenuId>(item.id)] = action;
                continue;
            }
            // The View items size the window: their keys act at once, and
            // only while the game window is the active one.
            action->setShortcuts(KeysOf(item.id));
            action->setShortcutContext(Qt::WindowShortcut);
            if (QAction** slot = ViewSlot(viewSlots, item.id))
                *slot = action;
        }
    }
    return actions;
}

void AttachAccelerators(const MenuActions& actions)
{
    for (const auto& [command, action] : actions) {
        const QList<QKeySequence> keys = KeysOf(command);
        if (keys.isEmpty())
            continue;
        action->setShortcuts(keys);
        // Only while the game window is the active one: a modal dialog or
        // another program takes the keys away.
        action->setShortcutContext(Qt::WindowShortcut);
    }
}

} // namespace ruvo
