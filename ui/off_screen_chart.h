// \brief Drawing a chart widget off the screen, as it would paint: how a chart whose page is hidden
// still gets the automatic axis ranges of its points.
#pragma once

#include <QImage>

#include "chart/chart_widget.h"

namespace gatool {

// Draws `chart` as its widget paints: into an off-screen image of the chart's size.
QImage PaintChart(TChart& chart, qreal devicePixelRatio = 1);

}  // namespace gatool
