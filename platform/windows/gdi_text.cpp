// Text for the engine on GDI.
// SPDX-License-Identifier: MIT
#include "platform/windows/gdi_text.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/windows/wide_text.h"
#include "render/surface.h"

namespace ruvo {
namespace {

struct StandIns {
    const char* requested; // UTF-8
    const char* faces[3];
};

// The Japanese names are the ones a Japanese Windows lists; the same fonts go
// by their English names elsewhere, and newer Japanese faces stand in last.
constexpr StandIns kStandIns[] = {
    {"Arial", {"Liberation Sans", "Arimo", nullptr}},
    {"ＭＳ ゴシック", {"MS Gothic", "Yu Gothic", "Meiryo"}},
    {"ＭＳ Ｐゴシック", {"MS PGothic", "Yu Gothic UI", "Meiryo UI"}},
};

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceExists(HDC dc, const std::wstring& face)
{
    if (face.empty() || face.size() >= LF_FACESIZE)
        return false;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    std::copy(face.begin(), face.end(), query.lfFaceName);
    bool found = false;
    EnumFontFamiliesExW(dc, &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

LOGFONTW LogFontFrom(const FontRequest& request, const std::wstring& face)
{
    LOGFONTW font{};
    font.lfHeight = request.height;
    font.lfWeight = request.weight;
    font.lfCharSet = request.charSet;
    const std::size_t length = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
    std::copy_n(face.begin(), length, font.lfFaceName);
    return font;
}

} // namespace

std::string AvailableFace(std::string_view requested)
{
    HDC dc = CreateCompatibleDC(nullptr);
    std::string chosen(requested);
    if (dc == nullptr)
        return chosen;
    if (!FaceExists(dc, Widen(requested))) {
        for (const StandIns& entry : kStandIns) {
            if (requested != entry.requested)
                continue;
            for (const char* face : entry.faces)
                if (face != nullptr && FaceExists(dc, Widen(face))) {
                    chosen = face;
                    break;
                }
        }
    }
    DeleteDC(dc);
    return chosen;
}

struct GdiTextRenderer::State {
    HDC dc = nullptr;
    std::map<FontId, HFONT> fonts;
    FontId nextId = 1;
    // The copy of the target that GDI draws on, top row first.
    HBITMAP canvas = nullptr;
    HGDIOBJ firstBitmap = nullptr;
    Pixel* canvasPixels = nullptr;
    std::int32_t canvasWidth = 0;
    std::int32_t canvasHeight = 0;

    HFONT Find(FontId id) const
    {
        const auto it = fonts.find(id);
        return it == fonts.end() ? nullptr : it->second;
    }

    bool EnsureCanvas(std::int32_t width, std::int32_t height)
    {
        if (canvas != nullptr && width == canvasWidth && height == canvasHeight)
            return true;
        if (canvas != nullptr) {
            SelectObject(dc, firstBitmap);
            DeleteObject(canvas);
            canvas = nullptr;
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (canvas == nullptr)
            return false;
        canvasPixels = static_cast<Pixel*>(bits);
        canvasWidth = width;
        canvasHeight = height;
        firstBitmap = SelectObject(dc, canvas);
        return true;
    }
};

GdiTextRenderer::GdiTextRenderer() : state_(std::make_unique<State>())
{
    state_->dc = CreateCompatibleDC(nullptr);
    if (state_->dc != nullptr)
        SetBkMode(state_->dc, TRANSPARENT);
}

GdiTextRenderer::~GdiTextRenderer()
{
    if (state_->dc != nullptr) {
        SelectObject(state_->dc, GetStockObject(SYSTEM_FONT));
        if (state_->canvas != nullptr)
            SelectObject(state_->dc, state_->firstBitmap);
        DeleteDC(state_->dc);
    }
    if (state_->canvas != nullptr)
        DeleteObject(state_->canvas);
    for (const auto& [id, font] : state_->fonts)
        DeleteObject(font);
}

FontId GdiTextRenderer::MakeFont(const FontRequest& request)
{
    LOGFONTW logFont = LogFontFrom(request, Widen(AvailableFace(request.faceName)));
    // Whole pixels only: the field is pixel art that the window zooms, and
    // smoothed (or ClearType's coloured) edges would grow with it.
    logFont.lfQuality = NONANTIALIASED_QUALITY;
    HFONT font = CreateFontIndirectW(&logFont);
    if (font == nullptr)
        return 0;
    const FontId id = state_->nextId++;
    state_->fonts.emplace(id, font);
    return id;
}

void GdiTextRenderer::DeleteFont(FontId font)
{
    const auto it = state_->fonts.find(font);
    if (it == state_->fonts.end())
        return;
    SelectObject(state_->dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(it->second);
    state_->fonts.erase(it);
}

TextExtent GdiTextRenderer::Measure(FontId font, std::string_view text)
{
    HFONT handle = state_->Find(font);
    if (handle == nullptr || state_->dc == nullptr)
        return {};
    SelectObject(state_->dc, handle);
    const std::wstring wide = Widen(text);
    SIZE size{};
    if (!GetTextExtentPoint32W(state_->dc, wide.c_str(), static_cast<int>(wide.size()), &size))
        return {};
    return {size.cx, size.cy};
}

void GdiTextRenderer::Draw(Surface& target, FontId font, std::uint32_t colorRef, std::int32_t x, std::int32_t y,
                           std::string_view text)
{
    HFONT handle = state_->Find(font);
    if (handle == nullptr || state_->dc == nullptr || text.empty() ||
        !state_->EnsureCanvas(target.Width(), target.Height()))
        return;
    SelectObject(state_->dc, handle);
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(state_->dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    // Only the rows of the text cell travel to GDI and back.
    const std::int32_t top = std::clamp(y, 0, target.Height());
    const std::int32_t bottom = std::clamp(y + static_cast<std::int32_t>(size.cy), 0, target.Height());
    if (top >= bottom)
        return;
    const std::size_t width = static_cast<std::size_t>(target.Width());
    std::memcpy(state_->canvasPixels + top * width, target.Row(top), (bottom - top) * width * sizeof(Pixel));
    GdiFlush();
    SetTextColor(state_->dc, colorRef & 0x00FFFFFF);
    HRGN clip = CreateRectRgn(0, top, target.Width(), bottom);
    SelectClipRgn(state_->dc, clip);
    TextOutW(state_->dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
    SelectClipRgn(state_->dc, nullptr);
    DeleteObject(clip);
    GdiFlush();
    for (std::int32_t row = top; row < bottom; ++row) {
        const Pixel* from = state_->canvasPixels + row * width;
        Pixel* to = target.Row(row);
        for (std::size_t i = 0; i < width; ++i)
            to[i] = from[i] & kColourBits;
    }
}

} // namespace ruvo
