// \brief What chart drawings reuse; see qt_drawing_cache.h.
#include "chart/qt_drawing_cache.h"

#include <QPainter>
#include <QString>
#include <cmath>

#include "chart/chart_geometry.h"

namespace gatool {

QtDrawingCache::CachedFont& QtDrawingCache::Font(const TChartFont& font) {
    for (CachedFont& cached : m_fonts) {
        if (cached.Key == font) {
            return cached;
        }
    }
    QFont qfont(QString::fromStdString(font.Name));
    qfont.setPixelSize(MulDiv(font.Size, 96, 72));
    return m_fonts.emplace_back(CachedFont{font, qfont, QFontMetrics(qfont), {}});
}

const QtDrawingCache::CachedText& QtDrawingCache::Text(const TChartFont& font,
                                                       std::string_view text) {
    CachedFont& cached = Font(font);
    const auto found = cached.Texts.find(text);
    if (found != cached.Texts.end()) {
        return found->second;
    }
    if (cached.Texts.size() >= MaxTextsPerFont) {
        cached.Texts.clear();
    }
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QStaticText layout(qtext);
    layout.setTextFormat(Qt::PlainText);
    return cached.Texts
        .emplace(std::string(text), CachedText{cached.Metrics.horizontalAdvance(qtext), layout})
        .first->second;
}

const QImage& QtDrawingCache::Shape(const std::vector<long long>& key,
                                    QSize size,
                                    qreal ratio,
                                    const std::function<void(QPainter&)>& draw) {
    const auto found = m_shapes.find(key);
    if (found != m_shapes.end()) {
        return found->second;
    }
    if (m_shapes.size() >= MaxShapes) {
        m_shapes.clear();
    }
    QImage image(static_cast<int>(std::ceil(size.width() * ratio)),
                 static_cast<int>(std::ceil(size.height() * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        draw(painter);
    }
    return m_shapes.emplace(key, std::move(image)).first->second;
}

}  // namespace gatool
