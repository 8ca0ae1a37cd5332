// ruvo-sim's letters on the desktop: Qt's text renderer on an offscreen
// QGuiApplication that lives as long as the renderer.
// SPDX-License-Identifier: MIT
#include <QGuiApplication>

#include <cstdlib>

#include "platform/desktop/qt_text.h"
#include "sim/frame_text.h"

namespace ruvo::sim {
namespace {

class QtFrameText final : public TextRenderer {
  public:
    explicit QtFrameText(char** argv) : application_(argc_, argv) {}
    FontId MakeFont(const FontRequest& request) override { return text_.MakeFont(request); }
    void DeleteFont(FontId font) override { text_.DeleteFont(font); }
    TextExtent Measure(FontId font, std::string_view text) override { return text_.Measure(font, text); }
    void Draw(Surface& target, FontId font, std::uint32_t colorRef, std::int32_t x, std::int32_t y,
              std::string_view text) override
    {
        text_.Draw(target, font, colorRef, x, y, text);
    }

  private:
    int argc_ = 1; // QGuiApplication keeps a reference to it
    QGuiApplication application_;
    QtTextRenderer text_;
};

} // namespace

std::unique_ptr<TextRenderer> MakeFrameText(int, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return std::make_unique<QtFrameText>(argv);
}

} // namespace ruvo::sim
