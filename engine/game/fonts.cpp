// The drawing's two fonts, made and released.
// SPDX-License-Identifier: MIT
#include "game/fonts.h"

namespace ruvo {

FontRequest TextFontRequest()
{
    FontRequest request;
    request.height = 18;
    request.weight = 700;
    request.charSet = 1;
    request.faceName = "Arial";
    return request;
}

FontRequest LogoFontRequest()
{
    FontRequest request;
    request.height = 80;
    request.weight = 700;
    request.charSet = 1;
    request.faceName = "ＭＳ ゴシック";
    return request;
}

int CreateFonts(Drawing& drawing, TextRenderer* text)
{
    drawing.text = text;
    if (text == nullptr)
        return 1;
    drawing.textFont = text->MakeFont(TextFontRequest());
    drawing.logoFont = text->MakeFont(LogoFontRequest());
    return 1;
}

int DeleteFonts(Drawing& drawing)
{
    if (drawing.text != nullptr) {
        drawing.text->DeleteFont(drawing.textFont);
        drawing.text->DeleteFont(drawing.logoFont);
    }
    drawing.textFont = 0;
    drawing.logoFont = 0;
    return 1;
}

} // namespace ruvo
