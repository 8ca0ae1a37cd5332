#include "platform/desktop/qt_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <initializer_list>
#include <string_view>

namespace ruvo {
namespace {

constexpr MenuId kSeparator = static_cast<MenuId>(0);

struct ItemTemplate {
    MenuId id;
    const char* label; // a tab separates the key hint
};

struct PopupTemplate {
    const char* title;
    std::initializer_list<ItemTemplate> items;
};

const PopupTemplate kGameMenu[] = {
    {"&Game",
     {{IDM_START, "&Start\tF2"},
      {IDM_PAUSE, "&Pause\tF3"},
      {kSeparator, nullptr},
      {IDM_HIGHSCORE, "&High Score\tF8"},
      {kSeparator, nullptr},
      {IDM_EXIT, "E&xit"}}},
    {"&Option", {{IDM_SOUND, "&Sound\tF4"}, {IDM_MUSIC, "&Music\tF5"}, {kSeparator, nullptr}, {IDM_OPTION, "&Option"}}},
    {"&Help", {{IDM_HELP, "&Help\tF1"}, {IDM_ABOUT, "&About\tF10"}}},
};

struct Accelerator {
    Qt::Key key;
    MenuId command;
};

// No Shift, Ctrl or Alt with any of them.
constexpr Accelerator kAccelerators[] = {
    {Qt::Key_F2, IDM_START}, {Qt::Key_F3, IDM_PAUSE},     {Qt::Key_F4, IDM_SOUND},  {Qt::Key_F5, IDM_MUSIC},
    {Qt::Key_F1, IDM_HELP},  {Qt::Key_F8, IDM_HIGHSCORE}, {Qt::Key_F10, IDM_ABOUT},
};

const ItemTemplate* FindItem(MenuId id)
{
    for (const PopupTemplate& popup : kGameMenu)
        for (const ItemTemplate& item : popup.items)
            if (item.id == id && item.label != nullptr)
                return &item;
    return nullptr;
}

void AddViewMenu(QMenuBar& bar, ViewActions& view)
{
    QMenu* menu = bar.addMenu(QStringLiteral("&View"));
    // The first key of each is the one shown in the menu.
    view.zoomIn = menu->addAction(QStringLiteral("Zoom &In"));
    view.zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    view.zoomOut = menu->addAction(QStringLiteral("Zoom &Out"));
    view.zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    view.automaticSize = menu->addAction(QStringLiteral("&Automatic Size"));
    view.automaticSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    view.fullScreen = menu->addAction(QStringLiteral("&Full Screen"));
    view.fullScreen->setCheckable(true);
    view.fullScreen->setShortcuts(
        {QKeySequence(Qt::Key_F11), QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});
    for (QAction* action : {view.zoomIn, view.zoomOut, view.automaticSize, view.fullScreen})
        action->setShortcutContext(Qt::WindowShortcut);
}

} // namespace

MenuActions BuildGameMenu(QMenuBar& bar, ViewActions* view)
{
    MenuActions actions;
    ViewActions unused;
    for (const PopupTemplate& popup : kGameMenu) {
        if (std::string_view(popup.title) == "&Help")
            AddViewMenu(bar, view != nullptr ? *view : unused);
        QMenu* menu = bar.addMenu(QString::fromUtf8(popup.title));
        for (const ItemTemplate& item : popup.items) {
            if (item.id == kSeparator) {
                menu->addSeparator();
                continue;
            }
            const std::string_view label(item.label);
            actions[item.id] = menu->addAction(QString::fromUtf8(label.substr(0, label.find('\t'))));
        }
    }
    return actions;
}

const char* KeyHint(MenuId item)
{
    const ItemTemplate* found = FindItem(item);
    if (found == nullptr)
        return nullptr;
    const std::size_t tab = std::string_view(found->label).find('\t');
    return tab == std::string_view::npos ? nullptr : found->label + tab + 1;
}

void AttachAccelerators(const MenuActions& actions)
{
    for (const Accelerator& accelerator : kAccelerators) {
        const auto it = actions.find(accelerator.command);
        if (it == actions.end())
            continue;
        it->second->setShortcut(QKeySequence(accelerator.key));
        // Only while the game window is the active one: a modal dialog or
        // another program takes the keys away.
        it->second->setShortcutContext(Qt::WindowShortcut);
    }
}

} // namespace ruvo
