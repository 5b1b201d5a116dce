// \brief Off-screen chart images; see chart_image.h.
#include "chart/chart_image.h"

#include <cmath>

#include "chart/qt_chart_canvas.h"

namespace gatool {

void RenderChart(ChartModel& chart, QImage& image, QtDrawingCache& cache) {
    const QSizeF size = image.deviceIndependentSize();
    QtChartCanvas canvas(image, cache);
    chart.Draw(canvas, static_cast<int>(std::lround(size.width())),
               static_cast<int>(std::lround(size.height())));
}

QImage ChartImage(int width, int height, qreal devicePixelRatio) {
    QImage image(static_cast<int>(std::lround(width * devicePixelRatio)),
                 static_cast<int>(std::lround(height * devicePixelRatio)), QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace gatool
