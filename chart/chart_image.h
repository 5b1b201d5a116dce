// \brief Drawing a chart into an off-screen image, as the TChart widget paints.
#pragma once

#include <QImage>

#include "chart/chart_model.h"
#include "chart/qt_drawing_cache.h"

namespace gatool {

// Draws `chart` over the whole of `image` (made by ChartImage), in the image's device-independent
// pixels: an image with a device pixel ratio of 2 gets the chart of half its pixel size, drawn at
// double resolution.
// `cache` keeps what the chart's next drawing can reuse.
void RenderChart(ChartModel& chart, QImage& image, QtDrawingCache& cache);

// A 32-bit RGB image of `width` by `height` device-independent pixels at `devicePixelRatio`, ready
// for RenderChart.
QImage ChartImage(int width, int height, qreal devicePixelRatio = 1);

}  // namespace gatool
