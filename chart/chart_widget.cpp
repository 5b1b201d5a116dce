// \brief The chart control; see chart_widget.h.
#include "chart/chart_widget.h"

#include <QPaintEngine>
#include <QPainter>

#include "chart/chart_image.h"

namespace gatool {

TChart::TChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // the image covers every pixel
    resize(400, 250);
    // Invalidation reaches the window only from here on: the chart is built.
    SetInvalidationHandler([this] { update(); });
}

void TChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The device the paint reaches: the window's backing store, or an image when the widget is
    // rendered or grabbed at another device pixel ratio.
    const qreal ratio = painter.paintEngine()->paintDevice()->devicePixelRatio();
    bool redraw = NeedsDrawing();
    if (m_image.deviceIndependentSize() != QSizeF(size()) || m_image.devicePixelRatio() != ratio) {
        m_image = ChartImage(width(), height(), ratio);
        redraw = true;
    }
    if (redraw) {
        RenderChart(*this, m_image, m_cache);
    }
    painter.drawImage(0, 0, m_image);
}

}  // namespace gatool
