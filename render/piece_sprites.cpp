#include "render/piece_sprites.h"

#include "render/piece_painter.h"

#include <QHash>
#include <QPaintEngine>
#include <QPainter>

#include <cmath>

namespace palisade {

namespace {

// One sheet of copies per scale; a new window size starts a new sheet.
constexpr qsizetype kMostSprites = 64;

struct SpriteKey {
    int code;
    int width;
    int height;
    int ratio;
    PieceLook look;

    friend bool operator==(const SpriteKey&, const SpriteKey&) = default;
};

size_t lookKey(const PieceLook& look)
{
    return qHashMulti(0, static_cast<int>(look.style), look.white.light.rgba(), look.white.deep.rgba(),
                      look.white.ink.rgba(), look.black.light.rgba(), look.black.deep.rgba(), look.black.ink.rgba());
}

size_t qHash(const SpriteKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.code, key.width, key.height, key.ratio, lookKey(key.look));
}

QHash<SpriteKey, QImage>& sprites()
{
    static QHash<SpriteKey, QImage> cache;
    return cache;
}

QImage drawSprite(int code, const QRectF& box, const QRectF& pixels, qreal ratio, const PieceLook& look)
{
    QImage image(static_cast<int>(std::ceil(pixels.width())), static_cast<int>(std::ceil(pixels.height())),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels.width() / box.width() / ratio, pixels.height() / box.height() / ratio);
    painter.translate(-box.topLeft());
    paintPiece(painter, code, box, look);
    return image;
}

bool mayCopy(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster
           && painter.deviceTransform().type() <= QTransform::TxScale;
}

} // namespace

void paintPieceFast(QPainter& painter, int code, const QRectF& box, const PieceLook& look)
{
    if (!mayCopy(painter)) {
        paintPiece(painter, code, box, look);
        return;
    }
    // Device pixels of the box; the painter's own coordinates are pixels / ratio.
    const qreal ratio = painter.device()->devicePixelRatio();
    const QRectF pixels = painter.deviceTransform().mapRect(box);
    const SpriteKey key{code, qRound(pixels.width() * 64), qRound(pixels.height() * 64), qRound(ratio * 64), look};
    auto& cache = sprites();
    auto found = cache.constFind(key);
    if (found == cache.constEnd()) {
        if (cache.size() >= kMostSprites) cache.clear();
        found = cache.insert(key, drawSprite(code, box, pixels, ratio, look));
    }
    // The copy goes where the box lies in the painter's own coordinates; the
    // device transform also holds where the widget sits in its window, which
    // the painter adds again once its own transform is reset.
    const QPointF topLeft = painter.worldTransform().mapRect(box).topLeft();
    painter.save();
    painter.resetTransform();
    painter.drawImage(topLeft, *found);
    painter.restore();
}

} // namespace palisade
