// \brief TChart: the chart control, a widget that is a ChartModel and paints it.
//
// Changes to the chart only mark it for drawing and ask Qt for a repaint; the drawing runs when Qt
// asks the widget to paint, into an off-screen image kept while the size and the device pixel ratio
// stay the same, which then reaches the screen in one copy. A hidden chart is not painted, so its
// computed state (automatic ranges, pixel positions) stays as its last drawing left it.
#pragma once

#include <QImage>
#include <QWidget>

#include "chart/chart_model.h"
#include "chart/qt_drawing_cache.h"

namespace gatool {

class TChart : public QWidget, public ChartModel {
  public:
    // A new chart is 400 by 250 pixels.
    explicit TChart(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_image;
    QtDrawingCache m_cache;
};

}  // namespace gatool
