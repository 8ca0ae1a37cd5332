#include "app/view_choice.h"

#include <algorithm>

#include "record/host.h"

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
