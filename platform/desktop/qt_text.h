// Text for the engine, drawn with Qt's fonts into our frame buffer: solid
// letters, no anti-aliasing, nothing between the letters touched.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "record/host.h"

namespace ruvo {

class QtTextRenderer final : public TextRenderer {
  public:
    QtTextRenderer(); // needs a QGuiApplication
    ~QtTextRenderer() override;
    FontId MakeFont(const FontRequest& request) override;
    void DeleteFont(FontId font) override;
    TextExtent Measure(FontId font, std::string_view text) override;
    void Draw(Surface& target, FontId font, std::uint32_t colorRef, std::int32_t x, std::int32_t y,
              std::string_view text) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace ruvo
