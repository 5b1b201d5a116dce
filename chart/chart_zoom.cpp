// \brief Zooming to a dragged rectangle, panning by the mouse's moves, and undoing both with the
// axis states kept before the first step; see chart_model.h.
#include "chart/chart_model.h"

namespace gatool {

namespace {

// Moves the axis' range by the value between two pixels of the last drawing, so that the plot
// follows the mouse from `from` to `to`.
void ShiftAxis(TChartAxis& axis, int from, int to) {
    const double delta = axis.PixelToValue(from) - axis.PixelToValue(to);
    axis.SetAxisRange(axis.Minimum() + delta, axis.Maximum() + delta);
}

}  // namespace

void ChartModel::PanTo(int x, int y) {
    if (!m_layout.Plot.Contains({x, y})) {
        m_panning.Active = false;
        return;
    }
    if (x == m_panning.X1 && y == m_panning.Y1) {
        return;
    }
    SaveAxisStates();
    const bool horizontal =
        (m_allowPanning == pmHorizontal || m_allowPanning == pmBoth) && x != m_panning.X1;
    const bool vertical =
        (m_allowPanning == pmVertical || m_allowPanning == pmBoth) && y != m_panning.Y1;
    if (horizontal) {
        ShiftAxis(m_bottomAxis, m_panning.X1, x);
    }
    if (vertical) {
        ShiftAxis(m_leftAxis, m_panning.Y1, y);
    }
    m_panning.X1 = x;
    m_panning.Y1 = y;
    if (horizontal || vertical) {
        Invalidate();
    }
}

void ChartModel::SaveAxisStates() {
    if (m_savedAxes) {
        return;
    }
    const auto save = [](const TChartAxis& axis) {
        return SavedAxisState{axis.Automatic(), axis.AutomaticMinimum(), axis.AutomaticMaximum(),
                              axis.Minimum(), axis.Maximum()};
    };
    m_savedAxes = std::array{save(m_bottomAxis), save(m_leftAxis)};
}

void ChartModel::ZoomToRectangle(const ChartRect& rect) {
    SaveAxisStates();
    // Both values come from the mapping of the last drawing, which setting the range leaves alone.
    m_bottomAxis.SetAxisRange(m_bottomAxis.PixelToValue(rect.Left),
                              m_bottomAxis.PixelToValue(rect.Right));
    // Pixels grow downwards, values upwards.
    m_leftAxis.SetAxisRange(m_leftAxis.PixelToValue(rect.Bottom),
                            m_leftAxis.PixelToValue(rect.Top));
}

void ChartModel::UndoZoom() {
    if (m_savedAxes) {
        const auto restore = [](TChartAxis& axis, const SavedAxisState& state) {
            // The range first: setting it clears the automatic flags, which then come back.
            if (!state.Automatic) {
                axis.SetAxisRange(state.Minimum, state.Maximum);
            }
            axis.SetAutomatic(state.Automatic);
            axis.SetAutomaticMinimum(state.AutomaticMinimum);
            axis.SetAutomaticMaximum(state.AutomaticMaximum);
        };
        restore(m_bottomAxis, (*m_savedAxes)[0]);
        restore(m_leftAxis, (*m_savedAxes)[1]);
        // The next zoom or panning step saves afresh.
        m_savedAxes.reset();
    }
    Invalidate();
}

}  // namespace gatool
