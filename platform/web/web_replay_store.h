// The replays kept by the page: a copy in memory of its IndexedDB store,
// which the page loads at start-up and writes through to (or only the copy,
// where the browser keeps no IndexedDB for the page).
// SPDX-License-Identifier: MIT
#pragma once

#include "record/host.h"

namespace ruvo {

class WebReplayStore final : public ReplayStore {
  public:
    std::vector<std::string> List() override;
    bool Read(std::string_view name, std::string& text) override;
    bool Write(std::string_view name, std::string_view text) override;
    bool Remove(std::string_view name) override;
};

// A text that the page hands over as a length, then a copy when it fits:
// answer(pointer, capacity) gives the length (negative: none).
template <typename Answer> bool TextFromPage(Answer answer, std::string& text)
{
    const std::int32_t length = answer(nullptr, 0);
    if (length < 0)
        return false;
    text.resize(static_cast<std::size_t>(length));
    return length == 0 || answer(text.data(), length) == length;
}

} // namespace ruvo
