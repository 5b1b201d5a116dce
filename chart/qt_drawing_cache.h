// \brief QtDrawingCache: what a chart's drawings can reuse from one drawing to the next: fonts,
// text widths and laid-out texts, and the images of shapes. A chart draws the same labels and
// pointers on every repaint, and laying out text and rasterising round shapes are the costliest
// parts of a drawing.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QStaticText>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_drawing_tools.h"

namespace gatool {

class QtDrawingCache {
  public:
    struct CachedText {
        int Width;
        QStaticText Layout;
    };

    struct CachedFont {
        TChartFont Key;
        QFont Font;
        QFontMetrics Metrics;
        std::map<std::string, CachedText, std::less<>> Texts;
    };

    // The font in Qt's terms, sized as on a 96 dots-per-inch screen like the window's layout
    // (HiDPI scales the painter instead).
    CachedFont& Font(const TChartFont& font);
    // The width and the layout of `text` in `font`.
    const CachedText& Text(const TChartFont& font, std::string_view text);

    // The image, transparent around the shape, that `draw` paints when given a painter on an image
    // of `size` device-independent pixels at `ratio`; made on the first request for `key`, which
    // must tell apart everything `draw` depends on.
    const QImage& Shape(const std::vector<long long>& key,
                        QSize size,
                        qreal ratio,
                        const std::function<void(QPainter&)>& draw);

  private:
    // Beyond this many texts of a font (titles that change while GS and GI are dragged), or this
    // many shapes, the cache starts afresh.
    static constexpr std::size_t MaxTextsPerFont = 1000;
    static constexpr std::size_t MaxShapes = 500;

    std::vector<CachedFont> m_fonts;  // a chart uses a handful of fonts
    std::map<std::vector<long long>, QImage> m_shapes;
};

}  // namespace gatool
