// \brief The chart's handling of mouse presses, moves and releases: clicks on series, the cursor
// over them, and the zoom and panning drags; see chart_model.h.
#include <algorithm>
#include <cstdlib>

#include "chart/chart_model.h"
#include "chart/scope_exit.h"

namespace gatool {

namespace {

// A zoom drag must exceed this many pixels in both directions to take effect.
constexpr int ZoomThreshold = 16;

ChartRect OrderedRectangle(const TZoomPanningRecord& drag) {
    return {std::min(drag.X0, drag.X1), std::min(drag.Y0, drag.Y1), std::max(drag.X0, drag.X1),
            std::max(drag.Y0, drag.Y1)};
}

}  // namespace

void ChartModel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (m_zoom.Active || m_panning.Active) {
        return;
    }
    if (m_mouseHandled) {
        m_mouseHandled = false;
        return;
    }
    // The flag ends every press cleared, also one whose handler raises.
    const ScopeExit clearHandled([this] { m_mouseHandled = false; });
    const TChartClickedPart part = ClickedPart(x, y);
    bool handled = false;
    if (part.Part == cpSeries && m_onClickSeries) {
        m_mouseHandled = true;
        m_onClickSeries(*this, *part.Series, part.PointIndex, button, shift, x, y);
        handled = m_mouseHandled;
    }
    // Presses on the title, the legend or the panel start no drag.
    const bool canDrag = part.Part == cpSeries || part.Part == cpAxis || part.Part == cpChartRect;
    if (canDrag && !handled) {
        StartDrag(button, x, y);
    }
}

void ChartModel::StartDrag(TMouseButton button, int x, int y) {
    TZoomPanningRecord* drag = nullptr;
    if (button == mbLeft && m_allowZoom) {
        drag = &m_zoom;
    } else if (button == mbRight && m_allowPanning != pmNone) {
        drag = &m_panning;
    }
    if (drag != nullptr) {
        m_cursor = crDefault;
        *drag = {true, x, y, x, y};
    }
}

void ChartModel::MouseMove(TShiftState shift, int x, int y) {
    if (m_onMouseMove) {
        m_onMouseMove(*this, shift, x, y);
    }
    if (m_zoom.Active) {
        m_zoom.X1 = x;
        m_zoom.Y1 = y;
    } else if (m_panning.Active) {
        PanTo(x, y);
    } else {
        SetCursorOverSeries(x, y);
    }
}

void ChartModel::SetCursorOverSeries(int x, int y) {
    // Unlike a click, the cursor is decided by the first series in the list.
    const auto withCursor =
        std::find_if(m_series.begin(), m_series.end(), [x, y](const TChartSeries* series) {
            return series->Active() && series->Cursor() != crDefault &&
                   series->PointIndexAt(x, y) != -1;
        });
    m_cursor = withCursor != m_series.end() ? (*withCursor)->Cursor() : crDefault;
}

void ChartModel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    // Any release ends panning, a left one zooming; also when the handler raises, so that no drag
    // outlives its button.
    const ScopeExit endDrags([this, button] {
        m_panning.Active = false;
        if (button == mbLeft) {
            m_zoom.Active = false;
        }
    });
    if (m_onMouseUp) {
        m_onMouseUp(*this, button, shift, x, y);
    }
    if (button == mbLeft && m_zoom.Active) {
        m_zoom.Active = false;
        EndZoomDrag(x, y);
    }
}

void ChartModel::EndZoomDrag(int x, int y) {
    m_zoom.X1 = x;
    m_zoom.Y1 = y;
    if (std::abs(m_zoom.X1 - m_zoom.X0) <= ZoomThreshold ||
        std::abs(m_zoom.Y1 - m_zoom.Y0) <= ZoomThreshold) {
        return;
    }
    // Dragged right and down it zooms; in any other direction it undoes the zoom.
    if (m_zoom.X1 > m_zoom.X0 && m_zoom.Y1 > m_zoom.Y0) {
        ZoomToRectangle(OrderedRectangle(m_zoom));
    } else {
        UndoZoom();
    }
    Invalidate();
}

std::optional<ChartRect> ChartModel::ZoomRectangle() const {
    if (!m_zoom.Active) {
        return std::nullopt;
    }
    return OrderedRectangle(m_zoom);
}

}  // namespace gatool
