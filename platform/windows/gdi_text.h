// Text for the engine on GDI: fonts made from the game's LOGFONT records,
// drawn by TextOutW into a DIB section that holds a copy of the target, so
// the letters land on the frame buffer exactly as GDI draws them.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "record/host.h"

namespace ruvo {

class GdiTextRenderer final : public TextRenderer {
  public:
    GdiTextRenderer();
    ~GdiTextRenderer() override;
    GdiTextRenderer(const GdiTextRenderer&) = delete;
    GdiTextRenderer& operator=(const GdiTextRenderer&) = delete;

    FontId MakeFont(const FontRequest& request) override;
    void DeleteFont(FontId font) override;
    TextExtent Measure(FontId font, std::string_view text) override;
    void Draw(Surface& target, FontId font, std::uint32_t colorRef, std::int32_t x, std::int32_t y,
              std::string_view text) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The face GDI is asked for: the requested one when the system has it,
// otherwise the first of its stand-ins that it has; the requested one again
// when it has none of them, for the font mapper to choose.
std::string AvailableFace(std::string_view requested);

} // namespace ruvo
