// The game's two fonts, made and released.
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

int CreateFonts(GameRecord& record)
{
    if (record.host.text == nullptr)
        return 1;
    record.textFont = record.host.text->MakeFont(TextFontRequest());
    record.logoFont = record.host.text->MakeFont(LogoFontRequest());
    return 1;
}

int DeleteFonts(GameRecord& record)
{
    if (record.host.text != nullptr) {
        record.host.text->DeleteFont(record.textFont);
        record.host.text->DeleteFont(record.logoFont);
    }
    record.textFont = 0;
    record.logoFont = 0;
    return 1;
}

} // namespace ruvo
