// \brief TChart: the chart control, a widget that is a ChartModel, paints it and hands it the
// mouse.
//
// Changes to the chart only mark it for drawing and ask Qt for a repaint; the drawing runs when Qt
// asks the widget to paint, into an off-screen image kept while the size and the device pixel ratio
// stay the same, which then reaches the screen in one copy. A hidden chart is not painted, so its
// computed state (automatic ranges, pixel positions) stays as its last drawing left it.
//
// Mouse presses (a double-click's second press with Double in the shift state), moves (also
// without a button, for the cursor over series) and releases go to the model in whole client
// pixels; Qt's implicit grab keeps them coming while a button is held outside the widget. After
// each the widget shows the model's cursor. The rectangle of a zoom drag is drawn over the image
// in every paint and never into it, so moving it repaints without a new drawing.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "chart/chart_model.h"
#include "chart/qt_drawing_cache.h"

namespace gatool {

class TChart : public QWidget, public ChartModel {
  public:
    // A new chart is 400 by 250 pixels.
    explicit TChart(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Runs the model's handling of one mouse event, then shows the model's cursor and repaints
    // when the zoom rectangle changed, also when the handling raised.
    void HandleMouse(const std::function<void()>& handling);
    void Press(QMouseEvent* event, bool isDouble);
    void DrawZoomRectangle(QPainter& painter) const;

    QImage m_image;
    QtDrawingCache m_cache;
};

}  // namespace gatool
