// \brief Off-screen drawing of a chart; see off_screen_chart.h.
#include "ui/off_screen_chart.h"

#include "chart/chart_image.h"

namespace gatool {

QImage PaintChart(TChart& chart, qreal devicePixelRatio) {
    QImage image = ChartImage(chart.width(), chart.height(), devicePixelRatio);
    QtDrawingCache cache;
    RenderChart(chart, image, cache);
    // The widget keeps an image of its own, which this drawing did not renew.
    chart.Invalidate();
    return image;
}

}  // namespace gatool
