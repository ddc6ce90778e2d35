#include "controls/SkinRegistry.h"

#include <QFile>

#include <map>
#include <memory>
#include <mutex>
#include <tuple>

static void InitSkinResources() { Q_INIT_RESOURCE(kx_skin); }

namespace kx {
namespace {

enum class Kind { Bitmap, Png, Keyed };

struct Cache {
    std::mutex mutex;
    // nullptr entries remember that an image does not exist.
    std::map<std::tuple<Kind, int, QRgb>, std::unique_ptr<SkinImage>> images;
};

Cache& TheCache() {
    static Cache cache;
    static std::once_flag resources;
    std::call_once(resources, InitSkinResources);
    return cache;
}

std::unique_ptr<SkinImage> Load(const QString& folder, int number) {
    const QString base = QString(":/skin/%1/%2").arg(folder).arg(number);
    QImage image(base + ".png");
    if (image.isNull()) return nullptr;
    auto skin = std::make_unique<SkinImage>();
    skin->png = folder == "png";
    const QImage::Format format =
        skin->png ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    skin->image = image.convertToFormat(format);
    const QImage twice(base + "@2x.png");
    if (!twice.isNull() && twice.size() == image.size() * 2)
        skin->image2x = twice.convertToFormat(format);
    return skin;
}

QImage KeyOut(const QImage& source, QRgb key) {
    if (source.isNull()) return {};
    QImage out = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == (key & 0x00FFFFFFu)) line[x] = 0;
        }
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

const SkinImage* Lookup(Kind kind, int number, QRgb key = 0) {
    Cache& cache = TheCache();
    std::lock_guard lock(cache.mutex);
    const auto id = std::make_tuple(kind, number, key);
    if (auto it = cache.images.find(id); it != cache.images.end()) return it->second.get();
    std::unique_ptr<SkinImage> made;
    if (kind == Kind::Bitmap) made = Load("bmp", number);
    if (kind == Kind::Png) made = Load("png", number);
    const SkinImage* result = made.get();
    cache.images.emplace(id, std::move(made));
    return result;
}

}  // namespace

const QImage& SkinImage::ForRatio(qreal ratio) const {
    return ratio > 1.0 && !image2x.isNull() ? image2x : image;
}

int SkinImage::ScaleFor(qreal ratio) const { return ratio > 1.0 && !image2x.isNull() ? 2 : 1; }

const SkinImage* SkinRegistry::Find(int number) {
    if (const SkinImage* bitmap = Lookup(Kind::Bitmap, number)) return bitmap;
    return Lookup(Kind::Png, number);
}

const SkinImage* SkinRegistry::FindPng(int number) { return Lookup(Kind::Png, number); }

const SkinImage* SkinRegistry::FindKeyed(int number, QColor key) {
    const QRgb rgb = key.rgb();
    {
        Cache& cache = TheCache();
        std::lock_guard lock(cache.mutex);
        const auto id = std::make_tuple(Kind::Keyed, number, rgb);
        if (auto it = cache.images.find(id); it != cache.images.end()) return it->second.get();
    }
    const SkinImage* plain = Find(number);
    std::unique_ptr<SkinImage> keyed;
    if (plain) {
        keyed = std::make_unique<SkinImage>();
        keyed->png = true;
        keyed->image = KeyOut(plain->image, rgb);
        keyed->image2x = KeyOut(plain->image2x, rgb);
    }
    Cache& cache = TheCache();
    std::lock_guard lock(cache.mutex);
    return cache.images.emplace(std::make_tuple(Kind::Keyed, number, rgb), std::move(keyed))
        .first->second.get();
}

}  // namespace kx
