// \brief The chart's drawing surface on a QImage; see qt_chart_canvas.h.
#include "chart/qt_chart_canvas.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "base/exceptions.h"

namespace gatool {

QColor ToQColor(TColor color) {
    if (IsSystemColor(color)) {
        const QPalette palette = QGuiApplication::palette();
        switch (color) {
            case clBtnHighlight:
                return palette.color(QPalette::Light);
            case clBtnShadow:
                return palette.color(QPalette::Dark);
            default:
                return palette.color(QPalette::Button);
        }
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

namespace {

QPen ToQPen(const TChartPen& pen) {
    if (!pen.Visible) {
        return Qt::NoPen;
    }
    QPen result(ToQColor(pen.Color));
    result.setWidth(pen.Width);
    // One-pixel lines end before their end point; wider ones are rounded at both ends and joints.
    if (pen.Width > 1) {
        result.setCapStyle(Qt::RoundCap);
        result.setJoinStyle(Qt::RoundJoin);
    } else {
        result.setCapStyle(Qt::FlatCap);
        result.setJoinStyle(Qt::MiterJoin);
    }
    if (pen.Style == psDot) {
        result.setDashPattern({1.0, 1.0});  // every other pixel
    }
    return result;
}

void SetShapeStyle(QPainter& painter, const ShapeStyle& style) {
    painter.setPen(ToQPen(style.Outline));
    painter.setBrush(style.Fill ? QBrush(ToQColor(*style.Fill)) : QBrush(Qt::NoBrush));
}

// The image to paint on, made unshared: a direct pixel write into a shared image would copy it and
// leave the painter on the old copy. Pixels are written as 32-bit RGB.
QImage& Unshared(QImage& image) {
    if (image.format() != QImage::Format_RGB32) {
        throw Exception("A chart is drawn on a 32-bit RGB image, not on format " +
                        std::to_string(image.format()));
    }
    image.bits();
    return image;
}

// The device pixels that the logical pixels of `rect` cover at `ratio`.
QRect DeviceRect(const QRect& rect, qreal ratio) {
    return {QPoint(static_cast<int>(rect.left() * ratio), static_cast<int>(rect.top() * ratio)),
            QPoint(static_cast<int>((rect.right() + 1) * ratio) - 1,
                   static_cast<int>((rect.bottom() + 1) * ratio) - 1)};
}

}  // namespace

QtChartCanvas::QtChartCanvas(QImage& image, QtDrawingCache& cache)
    : m_image(Unshared(image)), m_painter(&image), m_cache(cache) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setBackgroundMode(Qt::TransparentMode);
}

QtChartCanvas::~QtChartCanvas() {
    FlushLines();
}

void QtChartCanvas::FlushLines() {
    if (m_pending) {
        m_painter.setPen(ToQPen(m_pending->Pen));
        m_painter.drawPolyline(m_pending->Points);
        m_pending.reset();
    }
}

int QtChartCanvas::TextWidth(const TChartFont& font, std::string_view text) {
    return m_cache.Text(font, text).Width;
}

int QtChartCanvas::TextHeight(const TChartFont& font) {
    return m_cache.Font(font).Metrics.height();
}

void QtChartCanvas::FillRect(const ChartRect& rect, TColor color) {
    FlushLines();
    m_painter.fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ToQColor(color));
}

void QtChartCanvas::Rectangle(const ChartRect& rect, const ShapeStyle& style) {
    FlushLines();
    if (rect.Width() <= 0 || rect.Height() <= 0) {
        return;
    }
    if (style.Fill) {
        FillRect(rect, *style.Fill);
    }
    const int right = rect.Right - 1;
    const int bottom = rect.Bottom - 1;
    Line({rect.Left, rect.Top}, {rect.Right, rect.Top}, style.Outline);
    Line({rect.Left, bottom}, {rect.Right, bottom}, style.Outline);
    Line({rect.Left, rect.Top}, {rect.Left, rect.Bottom}, style.Outline);
    Line({right, rect.Top}, {right, rect.Bottom}, style.Outline);
}

void QtChartCanvas::Ellipse(const ChartRect& box, const ShapeStyle& style) {
    const ChartPoint corners[] = {{box.Left, box.Top}, {box.Right, box.Bottom}};
    StampShape(true, corners, style);
}

void QtChartCanvas::Polygon(std::span<const ChartPoint> corners, const ShapeStyle& style) {
    StampShape(false, corners, style);
}

void QtChartCanvas::StampShape(bool ellipse,
                               std::span<const ChartPoint> corners,
                               const ShapeStyle& style) {
    FlushLines();
    if (corners.empty()) {
        return;
    }
    const auto [minX, maxX] = std::minmax_element(
        corners.begin(), corners.end(), [](ChartPoint a, ChartPoint b) { return a.X < b.X; });
    const auto [minY, maxY] = std::minmax_element(
        corners.begin(), corners.end(), [](ChartPoint a, ChartPoint b) { return a.Y < b.Y; });
    const QPoint origin(minX->X, minY->Y);
    // Room around the corners for the outline.
    const int margin = (style.Outline.Visible ? style.Outline.Width : 0) + 1;
    const qreal ratio = m_image.devicePixelRatio();

    std::vector<long long> key{ellipse,
                               std::llround(ratio * 1000),
                               style.Outline.Visible,
                               style.Outline.Color,
                               style.Outline.Width,
                               style.Outline.Style,
                               style.Fill.has_value(),
                               style.Fill.value_or(0)};
    for (const ChartPoint& corner : corners) {
        key.push_back(corner.X - origin.x());
        key.push_back(corner.Y - origin.y());
    }
    const QSize size(maxX->X - origin.x() + 1 + 2 * margin, maxY->Y - origin.y() + 1 + 2 * margin);
    // Drawn at an offset of whole pixels, the stamp has the same pixels as the shape drawn here.
    const QImage& stamp = m_cache.Shape(key, size, ratio, [&](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.translate(margin - origin.x(), margin - origin.y());
        SetShapeStyle(painter, style);
        if (ellipse) {
            const ChartPoint topLeft = corners[0];
            const ChartPoint bottomRight = corners[1];
            // The outline runs along the box's edge pixels.
            painter.drawEllipse(QRect(topLeft.X, topLeft.Y, bottomRight.X - topLeft.X - 1,
                                      bottomRight.Y - topLeft.Y - 1));
        } else {
            QPolygon polygon;
            for (const ChartPoint& corner : corners) {
                polygon << QPoint(corner.X, corner.Y);
            }
            painter.drawPolygon(polygon);
        }
    });
    m_painter.drawImage(origin - QPoint(margin, margin), stamp);
}

void QtChartCanvas::Line(ChartPoint from, ChartPoint to, const TChartPen& pen) {
    if (!pen.Visible || from == to) {
        return;
    }
    if (pen.Width > 1) {
        const bool continues = m_pending && m_pending->Pen == pen &&
                               m_pending->Points.constLast() == QPoint(from.X, from.Y);
        if (!continues) {
            FlushLines();
            m_pending = PendingLines{pen, {QPoint(from.X, from.Y)}};
        }
        m_pending->Points << QPoint(to.X, to.Y);
        return;
    }
    FlushLines();
    if (from.X == to.X || from.Y == to.Y) {
        StraightLine(from, to, pen);
        return;
    }
    m_painter.setPen(ToQPen(pen));
    m_painter.drawLine(from.X, from.Y, to.X, to.Y);
}

void QtChartCanvas::StraightLine(ChartPoint from, ChartPoint to, const TChartPen& pen) {
    const bool horizontal = from.Y == to.Y;
    const int start = horizontal ? from.X : from.Y;
    const int stop = horizontal ? to.X : to.Y;
    const int direction = stop > start ? 1 : -1;
    const int across = horizontal ? from.Y : from.X;
    const auto span = [&](int first, int length) {
        return horizontal ? QRect(first, across, length, 1) : QRect(across, first, 1, length);
    };
    const QColor color = ToQColor(pen.Color);
    const int length = std::abs(stop - start);
    if (pen.Style == psSolid) {
        m_painter.fillRect(span(direction > 0 ? start : stop + 1, length), color);
        return;
    }
    // Dotted: every other pixel from the first on.
    std::vector<QRect> dots;
    for (int offset = 0; offset < length; offset += 2) {
        dots.push_back(span(start + direction * offset, 1));
    }
    FillDots(dots, color.rgb());
}

void QtChartCanvas::FillDots(const std::vector<QRect>& dots, QRgb color) {
    const qreal ratio = m_image.devicePixelRatio();
    QRect bounds = m_image.rect();
    if (m_clip) {
        bounds &=
            DeviceRect(QRect(m_clip->Left, m_clip->Top, m_clip->Width(), m_clip->Height()), ratio);
    }
    for (const QRect& dot : dots) {
        const QRect device = DeviceRect(dot, ratio) & bounds;
        for (int y = device.top(); y <= device.bottom(); ++y) {
            QRgb* const line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
            std::fill(line + device.left(), line + device.right() + 1, color);
        }
    }
}

void QtChartCanvas::Pixel(ChartPoint at, TColor color) {
    FlushLines();
    m_painter.fillRect(QRect(at.X, at.Y, 1, 1), ToQColor(color));
}

void QtChartCanvas::Text(ChartPoint topLeft, std::string_view text, const TChartFont& font) {
    FlushLines();
    m_painter.setFont(m_cache.Font(font).Font);
    m_painter.setPen(ToQColor(font.Color));
    m_painter.drawStaticText(topLeft.X, topLeft.Y, m_cache.Text(font, text).Layout);
}

void QtChartCanvas::TurnedText(ChartPoint start, std::string_view text, const TChartFont& font) {
    m_painter.save();
    m_painter.translate(start.X, start.Y);
    m_painter.rotate(-90);
    Text({0, 0}, text, font);
    m_painter.restore();
}

void QtChartCanvas::ClipTo(const ChartRect& rect) {
    FlushLines();
    m_painter.setClipRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()));
    m_clip = rect;
}

void QtChartCanvas::NoClip() {
    FlushLines();
    m_painter.setClipping(false);
    m_clip.reset();
}

}  // namespace gatool
