// How large the play field is shown, and the View menu's steps.
// SPDX-License-Identifier: MIT
#include "platform/kit/view_choice.h"

#include <algorithm>

#include "record/host.h"
#include "record/record.h"

namespace ruvo {

int AutomaticZoom(int availableWidth, int availableHeight)
{
    // N x 384 <= 0.6 x width, in whole numbers: 5 x N x 384 <= 3 x width.
    const int across = 3 * availableWidth / (5 * kFieldWidth);
    const int down = 3 * availableHeight / (5 * kFieldHeight);
    return std::max(1, std::min(across, down));
}

int LargestZoom(int width, int height)
{
    return std::max(1, std::min(width / kFieldWidth, height / kFieldHeight));
}

int WindowZoom(const ViewChoice& choice, int availableWidth, int availableHeight, int menuHeight)
{
    if (choice.zoom == 0)
        return AutomaticZoom(availableWidth, availableHeight);
    return std::min(static_cast<int>(choice.zoom), LargestZoom(availableWidth, availableHeight - menuHeight));
}

ViewMenu ViewMenuFor(const ViewChoice& choice, int shownZoom, int largestZoom)
{
    ViewMenu menu;
    menu.zoomIn = !choice.fullScreen && shownZoom < largestZoom;
    menu.zoomOut = !choice.fullScreen && shownZoom > 1;
    menu.automaticSize = !choice.fullScreen;
    menu.fullScreenChecked = choice.fullScreen;
    return menu;
}

std::optional<ViewChoice> ViewAfter(const ViewChoice& choice, ViewStep step, int shownZoom, int largestZoom)
{
    const ViewMenu menu = ViewMenuFor(choice, shownZoom, largestZoom);
    ViewChoice next = choice;
    switch (step) {
    case ViewStep::ZoomIn:
        if (!menu.zoomIn)
            return std::nullopt;
        next.zoom = static_cast<std::uint32_t>(std::min<int>(shownZoom + 1, kLargestZoomChoice));
        break;
    case ViewStep::ZoomOut:
        if (!menu.zoomOut)
            return std::nullopt;
        next.zoom = static_cast<std::uint32_t>(std::max(shownZoom - 1, 1));
        break;
    case ViewStep::AutomaticSize:
        if (!menu.automaticSize)
            return std::nullopt;
        next.zoom = 0;
        break;
    case ViewStep::FullScreen:
        next.fullScreen = !choice.fullScreen;
        break;
    case ViewStep::LeaveFullScreen:
        if (!choice.fullScreen)
            return std::nullopt;
        next.fullScreen = false;
        break;
    }
    return next;
}

ViewChoice ReadViewChoice(SettingsStore& store)
{
    ViewChoice choice;
    std::uint32_t value = 0;
    if (store.QueryDword("Zoom", value) && value <= kLargestZoomChoice)
        choice.zoom = value;
    if (store.QueryDword("Fullscreen", value) && value <= 1)
        choice.fullScreen = value == 1;
    return choice;
}

void WriteViewChoice(SettingsStore& store, const ViewChoice& choice)
{
    store.SetDword("Zoom", choice.zoom);
    store.SetDword("Fullscreen", choice.fullScreen ? 1 : 0);
}

} // namespace ruvo
