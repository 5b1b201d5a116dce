// \brief The chart control; see chart_widget.h.
#include "chart/chart_widget.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QScopeGuard>
#include <cmath>
#include <optional>

#include "chart/chart_image.h"
#include "chart/qt_chart_canvas.h"

namespace gatool {

namespace {

std::optional<TMouseButton> MouseButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return mbLeft;
        case Qt::RightButton:
            return mbRight;
        case Qt::MiddleButton:
            return mbMiddle;
        default:
            return std::nullopt;
    }
}

TShiftState ShiftState(const QMouseEvent& event, bool isDouble) {
    const Qt::KeyboardModifiers keys = event.modifiers();
    const Qt::MouseButtons buttons = event.buttons();
    return {keys.testFlag(Qt::ShiftModifier),
            keys.testFlag(Qt::AltModifier),
            keys.testFlag(Qt::ControlModifier),
            buttons.testFlag(Qt::LeftButton),
            buttons.testFlag(Qt::RightButton),
            buttons.testFlag(Qt::MiddleButton),
            isDouble};
}

// The client pixel that holds the event's position.
ChartPoint ClientPixel(const QMouseEvent& event) {
    const QPointF position = event.position();
    return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

}  // namespace

TChart::TChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // the image covers every pixel
    setMouseTracking(true);                 // moves without a button set the cursor over series
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
    DrawZoomRectangle(painter);
}

void TChart::DrawZoomRectangle(QPainter& painter) const {
    const std::optional<ChartRect> rect = ZoomRectangle();
    if (!rect || rect->Width() <= 0 || rect->Height() <= 0) {
        return;
    }
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setPen(QPen(ToQColor(ZoomPenColor()), 1));
    painter.setBrush(Qt::NoBrush);
    // A stroked QRect reaches one pixel beyond its right and bottom; the outline keeps to the
    // rectangle's own edge pixels.
    painter.drawRect(rect->Left, rect->Top, rect->Width() - 1, rect->Height() - 1);
}

void TChart::HandleMouse(const std::function<void()>& handling) {
    const std::optional<ChartRect> zoomBefore = ZoomRectangle();
    const auto show = qScopeGuard([this, &zoomBefore] {
        const bool hand = Cursor() == crHandPoint;
        if (hand != (cursor().shape() == Qt::PointingHandCursor)) {
            if (hand) {
                setCursor(Qt::PointingHandCursor);
            } else {
                unsetCursor();
            }
        }
        if (ZoomRectangle() != zoomBefore) {
            update();
        }
    });
    handling();
}

void TChart::Press(QMouseEvent* event, bool isDouble) {
    const std::optional<TMouseButton> button = MouseButton(event->button());
    if (!button) {
        QWidget::mousePressEvent(event);
        return;
    }
    const ChartPoint at = ClientPixel(*event);
    HandleMouse([&] { MouseDown(*button, ShiftState(*event, isDouble), at.X, at.Y); });
}

void TChart::mousePressEvent(QMouseEvent* event) {
    Press(event, false);
}

void TChart::mouseDoubleClickEvent(QMouseEvent* event) {
    Press(event, true);
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
    const ChartPoint at = ClientPixel(*event);
    HandleMouse([&] { MouseMove(ShiftState(*event, false), at.X, at.Y); });
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<TMouseButton> button = MouseButton(event->button());
    if (!button) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const ChartPoint at = ClientPixel(*event);
    HandleMouse([&] { MouseUp(*button, ShiftState(*event, false), at.X, at.Y); });
}

}  // namespace gatool
