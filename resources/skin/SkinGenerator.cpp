// Draws every image of the skin at pixel ratios 1 and 2 into a folder, with the resource list
// that embeds them: bmp/<number>.png for opaque images (the kit's bitmaps), png/<number>.png
// for images with alpha, and <number>@2x.png beside each.
//
//   kx_skin_gen OUTPUT_FOLDER

#include "ButtonArt.h"
#include "InstrumentArt.h"
#include "PlaceholderArt.h"
#include "SkinPalette.h"
#include "controls/SkinIds.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <set>
#include <vector>

namespace {

using namespace kx;
using namespace kx::skinart;

struct Entry {
    int number;
    QSize size;
    bool alpha;           // PNG with alpha; otherwise an opaque bitmap
    bool whiteKey;        // untouched pixels become white, the key colour of the speed digits
    bool doubleSize;      // also drawn at pixel ratio 2
    std::function<void(QPainter&)> draw;
};

void AddFixedImages(std::vector<Entry>& out) {
    auto bmp = [&](int n, int w, int h, std::function<void(QPainter&)> draw) {
        out.push_back({n, QSize(w, h), false, false, true, std::move(draw)});
    };
    bmp(skin::kTopTile, 100, 33, DrawTopTile);
    bmp(skin::kSpeedBackgroundKmh, 124, 38, [](QPainter& p) { DrawSpeedBackground(p, false); });
    bmp(skin::kSpeedBackgroundMph, 124, 38, [](QPainter& p) { DrawSpeedBackground(p, true); });
    out.push_back({skin::kSpeedPoint, QSize(6, 18), false, true, true,
                   [](QPainter& p) { DrawSpeedGlyph(p, -1); }});
    for (int d = 0; d < 10; ++d) {
        out.push_back({skin::kSpeedDigit0 + d, QSize(10, 18), false, true, true,
                       [d](QPainter& p) { DrawSpeedGlyph(p, d); }});
    }
    bmp(skin::kVolumeEmpty, 70, 21, [](QPainter& p) { DrawVolumeBar(p, false); });
    bmp(skin::kVolumeFull, 70, 21, [](QPainter& p) { DrawVolumeBar(p, true); });
    bmp(skin::kSeekTrack, 547, 9, DrawSeekTrack);
    bmp(skin::kSeekFill, 3, 7, DrawSeekFill);
    bmp(skin::kSeekThumb, 11, 22, DrawSeekThumb);
    bmp(skin::kSmallTrack, 66, 9, DrawSmallTrack);
    bmp(skin::kSmallThumb, 13, 13, DrawSmallThumb);
    for (int n = skin::kScrollTopCap; n <= skin::kScrollThumb; ++n) {
        bmp(n, 18, n == skin::kScrollTrack ? 1 : 18, [n](QPainter& p) { DrawScrollBlock(p, n); });
    }
    bmp(skin::kMapCloseNormal, 30, 24, [](QPainter& p) { DrawMapClose(p, PushState::Normal); });
    bmp(skin::kMapCloseHover, 30, 24, [](QPainter& p) { DrawMapClose(p, PushState::Hover); });
    bmp(skin::kMapClosePressed, 30, 24, [](QPainter& p) { DrawMapClose(p, PushState::Pressed); });
    bmp(skin::kOkNormal, 83, 32, [](QPainter& p) { DrawOkButton(p, PushState::Normal); });
    bmp(skin::kOkPressed, 83, 32, [](QPainter& p) { DrawOkButton(p, PushState::Pressed); });
    out.push_back({skin::kAppIcon, QSize(256, 256), true, false, false, DrawAppIcon});
    for (int lang = 0; lang < skin::kLanguageCount; ++lang) {
        const skin::PlaceholderPair pair = skin::kMapPlaceholders[static_cast<std::size_t>(lang)];
        const QSize size(skin::kPlaceholderWidth, skin::kPlaceholderHeight);
        out.push_back({pair.noConnection, size, true, false, true,
                       [lang](QPainter& p) { DrawMapPlaceholder(p, true, lang); }});
        out.push_back({pair.noData, size, true, false, true,
                       [lang](QPainter& p) { DrawMapPlaceholder(p, false, lang); }});
    }
}

void AddButtons(std::vector<Entry>& out) {
    std::set<int> seen;
    for (int f = 0; f < skin::kButtonFaceCount; ++f) {
        const auto face = static_cast<skin::ButtonFace>(f);
        const skin::ButtonSize size = skin::ButtonFaceSize(face);
        for (int lang = 0; lang < skin::kLanguageCount; ++lang) {
            for (int s = 0; s < skin::kButtonStateCount; ++s) {
                const auto state = static_cast<skin::ButtonState>(s);
                const int number = skin::ButtonImageNumber(face, state, lang);
                if (number == 0 || !seen.insert(number).second) continue;
                out.push_back({number, QSize(size.width, size.height),
                               !skin::ButtonIsBitmap(face), false, true,
                               [face, state, lang](QPainter& p) {
                                   DrawButton(p, face, state, lang);
                               }});
            }
        }
    }
}

QImage Render(const Entry& e, int scale) {
    const QSize pixels = e.size * scale;
    QImage canvas(pixels, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        p.scale(scale, scale);
        e.draw(p);
    }
    if (e.alpha) return canvas;
    QImage opaque(pixels, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const QRgb c = src[x];
            const int a = qAlpha(c);
            if (e.whiteKey) {
                // Edge pixels are blended with the face they will be keyed onto, so the keyed
                // digits keep their smooth edges on the display.
                if (a == 0) {
                    dst[x] = qRgb(255, 255, 255);
                    continue;
                }
                const QColor under = kPanel;
                const auto mix = [&](int premultiplied, int base) {
                    return premultiplied + base * (255 - a) / 255;
                };
                dst[x] = qRgb(mix(qRed(c), under.red()), mix(qGreen(c), under.green()),
                              mix(qBlue(c), under.blue()));
            } else {
                dst[x] = qRgb(qRed(c), qGreen(c), qBlue(c)) | 0xFF000000u;
            }
        }
    }
    return opaque;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kx_skin_gen OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.mkpath("bmp") || !root.mkpath("png")) {
        std::fprintf(stderr, "kx_skin_gen: cannot create %s\n", argv[1]);
        return 1;
    }
    std::vector<Entry> entries;
    AddFixedImages(entries);
    AddButtons(entries);

    std::set<int> numbers;
    QString qrc = "<RCC>\n  <qresource prefix=\"/skin\">\n";
    for (const Entry& e : entries) {
        if (!numbers.insert(e.number).second) {
            std::fprintf(stderr, "kx_skin_gen: image %d drawn twice\n", e.number);
            return 1;
        }
        const QString folder = e.alpha ? "png" : "bmp";
        for (int scale = 1; scale <= (e.doubleSize ? 2 : 1); ++scale) {
            const QString name = QString("%1/%2%3.png")
                                     .arg(folder)
                                     .arg(e.number)
                                     .arg(scale == 2 ? "@2x" : "");
            if (!Render(e, scale).save(root.filePath(name), "PNG")) {
                std::fprintf(stderr, "kx_skin_gen: cannot write %s\n", qPrintable(name));
                return 1;
            }
            qrc += QString("    <file>%1</file>\n").arg(name);
        }
    }
    qrc += "  </qresource>\n</RCC>\n";
    QFile list(root.filePath("skin.qrc"));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate) || list.write(qrc.toUtf8()) < 0) {
        std::fprintf(stderr, "kx_skin_gen: cannot write skin.qrc\n");
        return 1;
    }
    std::printf("kx_skin_gen: %zu images\n", entries.size());
    return 0;
}
