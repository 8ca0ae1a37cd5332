// Draws every sprite pair of the game as the game draws it, over the sky and
// over black, labelled with its resource numbers and scaled 3x, with the
// icons, into one PNG: contact-sheet OUTPUT.png
// SPDX-License-Identifier: MIT
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <vector>

#include "game/graphics.h"
#include "game/surfaces.h"
#include "render/draw.h"
#include "render/icon.h"
#include "resources/embedded.h"

namespace {

using namespace ruvo;

constexpr int kScale = 3;
constexpr int kCell = 64 + 8; // one picture with a margin, unscaled
constexpr int kLabel = 14;    // label height, scaled pixels
constexpr int kPerRow = 6;    // pairs per row

QImage ToImage(const Surface& surface)
{
    QImage image(surface.Width(), surface.Height(), QImage::Format_RGB32);
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            image.setPixel(x, y, 0xFF000000u | surface.At(x, y));
    return image;
}

QImage DrawOver(Drawing& drawing, SpritePair& pair, int size, Pixel background, bool icon)
{
    Surface canvas(kCell, kCell, background);
    DrawContext dc;
    dc.bitmap = &canvas;
    const int at = (kCell - size) / 2;
    if (icon)
        DrawIcon(dc, pair, at, at, size);
    else
        DrawSprite(dc, drawing.spriteDC, pair, at, at, size);
    return ToImage(canvas).scaled(kCell * kScale, kCell * kScale);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: contact-sheet OUTPUT.png\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    EmbeddedResources resources;
    Drawing drawing;
    LoadSprites(drawing, &resources);
    struct Entry {
        SpritePair* pair;
        int size;
        QString label;
        bool icon;
    };
    std::vector<Entry> entries;
    const auto add = [&](SpritePair& pair, int id, int size) {
        entries.push_back({&pair, size, QString("%1/%2").arg(id).arg(id + 1), false});
    };
    for (int i = 0; i < 4; ++i)
        add(drawing.jumperSprites[i], 201 + 2 * i, 32);
    for (int i = 0; i < 3; ++i)
        add(drawing.sunSprites[i], 211 + 2 * i, 32);
    add(drawing.cloudSprite, 217, 32);
    for (int t = 0; t < 10; ++t)
        add(drawing.platformSprites[t], 221 + 2 * t, 32);
    for (int t = 0; t < 10; ++t)
        add(drawing.groundSprites[t], 251 + 2 * t, 32);
    for (int t = 0; t < 10; ++t)
        add(drawing.bossSprites[t], 281 + 2 * t, 64);
    add(drawing.bossTintSprite, 311, 64);
    SpritePair icons[4];
    const int iconGroups[4][2] = {
        {kProgramIconGroup, 16}, {kProgramIconGroup, 32}, {kSpareIconGroup, 16}, {kSpareIconGroup, 32}};
    for (int i = 0; i < 4; ++i) {
        LoadIconPair(&resources, icons[i], iconGroups[i][0], iconGroups[i][1]);
        entries.push_back(
            {&icons[i], iconGroups[i][1], QString("icon %1 %2px").arg(iconGroups[i][0]).arg(iconGroups[i][1]), true});
    }

    const int pairWidth = 2 * kCell * kScale;
    const int rowHeight = kCell * kScale + kLabel;
    const int rows = (static_cast<int>(entries.size()) + kPerRow - 1) / kPerRow;
    QImage sheet(kPerRow * pairWidth, rows * rowHeight, QImage::Format_RGB32);
    sheet.fill(QColor(64, 64, 64));
    QPainter painter(&sheet);
    painter.setPen(Qt::white);
    QFont font("Liberation Sans");
    font.setPixelSize(11);
    painter.setFont(font);
    const Pixel sky = PixelFromColorRef(kSkyColorRef);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int x = static_cast<int>(i % kPerRow) * pairWidth;
        const int y = static_cast<int>(i / kPerRow) * rowHeight;
        Entry& e = entries[i];
        painter.drawImage(x, y + kLabel, DrawOver(drawing, *e.pair, e.size, sky, e.icon));
        painter.drawImage(x + kCell * kScale, y + kLabel, DrawOver(drawing, *e.pair, e.size, kBlack, e.icon));
        painter.drawText(x + 4, y + 11, e.label);
    }
    painter.end();
    return sheet.save(argv[1]) ? 0 : 1;
}
