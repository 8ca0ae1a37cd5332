// Writes the desktop icons, scaled from icon 501 by whole pixels:
//   mkicons OUTDIR  ->  OUTDIR/<N>x<N>/apps/org.tolp.Ruvo.png for N = 16 32 48 64 128
// SPDX-License-Identifier: MIT
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "render/icon.h"
#include "resources/embedded.h"

namespace {

QImage WithAlpha(const ruvo::SpritePair& icon)
{
    const ruvo::Surface& image = *icon.image;
    QImage out(image.Width(), image.Height(), QImage::Format_ARGB32);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const bool opaque = icon.mask->At(x, y) == ruvo::kBlack;
            out.setPixel(x, y, opaque ? 0xFF000000u | image.At(x, y) : 0u);
        }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkicons OUTDIR\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    ruvo::EmbeddedResources resources;
    ruvo::SpritePair small, large;
    if (!ruvo::LoadIconPair(&resources, small, ruvo::kProgramIconGroup, 16) ||
        !ruvo::LoadIconPair(&resources, large, ruvo::kProgramIconGroup, 32)) {
        std::fprintf(stderr, "mkicons: icon 501 is missing\n");
        return 1;
    }
    const QImage sources[2] = {WithAlpha(small), WithAlpha(large)};
    // Each size from the picture that divides it, enlarged without smoothing.
    const struct {
        int size;
        int source;
    } sizes[] = {{16, 0}, {32, 1}, {48, 0}, {64, 1}, {128, 1}};
    for (const auto& s : sizes) {
        const QString dir = QString("%1/%2x%2/apps").arg(argv[1]).arg(s.size);
        QDir().mkpath(dir);
        const QImage scaled = sources[s.source].scaled(s.size, s.size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!scaled.save(dir + "/org.tolp.Ruvo.png")) {
            std::fprintf(stderr, "mkicons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
