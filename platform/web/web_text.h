// Text in the browser: letters rasterised by the page's canvas in the served
// web fonts, one at a time, and laid into the frame buffer from the cache.
// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <memory>

#include "record/host.h"
#include "render/glyph_runs.h"

namespace ruvo {

class WebTextRenderer final : public TextRenderer {
  public:
    FontId MakeFont(const FontRequest& request) override;
    void DeleteFont(FontId font) override;
    TextExtent Measure(FontId font, std::string_view text) override;
    void Draw(Surface& target, FontId font, std::uint32_t colorRef, std::int32_t x, std::int32_t y,
              std::string_view text) override;

  private:
    std::map<FontId, std::unique_ptr<GlyphCache>> fonts_;
    FontId nextId_ = 1;
};

} // namespace ruvo
