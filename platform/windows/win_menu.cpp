// The menu bar and its accelerators on Win32, built from the menu table.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_menu.h"

#include <windows.h>

#include <vector>

#include "app/menu_table.h"
#include "platform/windows/wide_text.h"

namespace ruvo {
namespace {

WORD VirtualKey(Key key)
{
    switch (key) {
    case Key::F1:
        return VK_F1;
    case Key::F2:
        return VK_F2;
    case Key::F3:
        return VK_F3;
    case Key::F4:
        return VK_F4;
    case Key::F5:
        return VK_F5;
    case Key::F8:
        return VK_F8;
    case Key::F10:
        return VK_F10;
    case Key::F11:
        return VK_F11;
    case Key::Plus:
        return VK_ADD;
    case Key::Equal:
        return VK_OEM_PLUS; // the key with '=' and '+' on most layouts
    case Key::Minus:
        return VK_OEM_MINUS;
    case Key::Digit0:
        return '0';
    case Key::Return:
    case Key::Enter:
        return VK_RETURN; // the keypad's Enter is the same key to Windows
    }
    return 0;
}

} // namespace

void* BuildMenuBar()
{
    HMENU bar = CreateMenu();
    for (const MenuPopup& popup : GameMenuBar()) {
        HMENU menu = CreatePopupMenu();
        for (const MenuEntry& item : popup.items) {
            if (item.id == 0)
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            else
                AppendMenuW(menu, MF_STRING, item.id, Widen(item.label).c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), Widen(popup.title).c_str());
    }
    return bar;
}

void* BuildAcceleratorTable()
{
    std::vector<ACCEL> table;
    for (const Accelerator& accelerator : GameAccelerators()) {
        ACCEL entry{};
        entry.fVirt = FVIRTKEY;
        if (accelerator.modifiers & kCtrl)
            entry.fVirt |= FCONTROL;
        if (accelerator.modifiers & kAlt)
            entry.fVirt |= FALT;
        entry.key = VirtualKey(accelerator.key);
        entry.cmd = accelerator.command;
        // The keypad's Enter and the main one are one key here: listed once.
        bool listed = false;
        for (const ACCEL& other : table)
            listed = listed || (other.fVirt == entry.fVirt && other.key == entry.key);
        if (!listed)
            table.push_back(entry);
    }
    return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

} // namespace ruvo
