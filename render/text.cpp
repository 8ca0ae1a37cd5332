#include "render/text.h"

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

void SelectFont(DrawContext& dc, FontId font) { dc.font = font; }

void SetTextColor(DrawContext& dc, std::uint32_t colorRef) { dc.textColor = colorRef; }

TextExtent GetTextExtent(GameRecord& record, const DrawContext& dc, std::string_view text)
{
    if (record.host.text == nullptr)
        return {};
    return record.host.text->Measure(dc.font, text);
}

void TextOut(GameRecord& record, DrawContext& dc, std::int32_t x, std::int32_t y, std::string_view text)
{
    if (record.host.text == nullptr || dc.bitmap == nullptr)
        return;
    record.host.text->Draw(*dc.bitmap, dc.font, dc.textColor, x, y, text);
}

TextExtent WriteCentred(GameRecord& record, DrawContext& dc, std::int32_t y, std::string_view text)
{
    const TextExtent extent = GetTextExtent(record, dc, text);
    const std::int32_t x = (record.fieldWidth - extent.cx) / 2;
    if (y == kCentreDown)
        y = (record.fieldHeight - extent.cy) / 2;
    TextOut(record, dc, x, y, text);
    return extent;
}

} // namespace ruvo
