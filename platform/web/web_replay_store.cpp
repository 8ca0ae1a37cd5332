// The page's replay store, through the page's imports.
// SPDX-License-Identifier: MIT
#include "platform/web/web_replay_store.h"

#include <string>

#include "platform/web/web_imports.h"

namespace ruvo {
namespace {

std::int32_t Length(std::string_view text)
{
    return static_cast<std::int32_t>(text.size());
}

} // namespace

std::vector<std::string> WebReplayStore::List()
{
    std::string lines;
    std::vector<std::string> names;
    if (!TextFromPage([](char* text, std::int32_t capacity) { return ruvo_replays_list(text, capacity); }, lines))
        return names;
    std::size_t start = 0;
    while (start < lines.size()) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        if (end > start)
            names.push_back(lines.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

bool WebReplayStore::Read(std::string_view name, std::string& text)
{
    return TextFromPage(
        [name](char* out, std::int32_t capacity) {
            return ruvo_replays_read(name.data(), Length(name), out, capacity);
        },
        text);
}

bool WebReplayStore::Write(std::string_view name, std::string_view text)
{
    return ruvo_replays_write(name.data(), Length(name), text.data(), Length(text)) != 0;
}

bool WebReplayStore::Remove(std::string_view name)
{
    return ruvo_replays_remove(name.data(), Length(name)) != 0;
}

} // namespace ruvo
