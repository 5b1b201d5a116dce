// \brief One drawing of a chart, in its order: panel, title and legend, axis ranges and room, plot
// frame, axes, series; see chart_model.h.
#include "chart/chart_model.h"

namespace gatool {

void ChartModel::Draw(ChartCanvas& canvas, int width, int height) {
    m_needsDrawing = false;
    m_layout = {};
    m_layout.Panel = {0, 0, width, height};
    DrawPanel(canvas);

    ChartRect rect{MulDiv(m_marginLeft, width, 100), MulDiv(m_marginTop, height, 100),
                   width - MulDiv(m_marginRight, width, 100),
                   height - MulDiv(m_marginBottom, height, 100)};
    m_layout.Chart = rect;
    // The legend stands at the right, so it is drawn first and the title is centred over the width
    // the legend leaves.
    if (m_legend.Visible() && AnyActiveSeries()) {
        m_layout.Legend = m_legend.Draw(canvas, m_layout.Panel, rect);
    }
    m_layout.Title = m_title.Draw(canvas, rect);

    m_bottomAxis.CalcAutomaticRange();
    m_leftAxis.CalcAutomaticRange();
    for (TChartAxis* axis : {&m_bottomAxis, &m_leftAxis}) {
        if (axis->IsShown()) {
            axis->TakeRoom(canvas, rect);
        }
    }
    m_layout.Plot = rect;
    m_bottomAxis.SetPixelPositions(rect);
    m_leftAxis.SetPixelPositions(rect);
    m_leftAxis.ApplySeriesMargins(canvas);
    m_bottomAxis.ApplySeriesMargins(canvas);
    // The visible points are known once the ranges are final; the text labels of the horizontal
    // axis, drawn before the series, need them.
    for (TChartSeries* series : m_series) {
        if (series->Active()) {
            series->CalcFirstLastVisible(rect);
        }
    }

    DrawBackWall(canvas);
    // Axes before series, so that the series lie over the grid.
    for (TChartAxis* axis : {&m_bottomAxis, &m_leftAxis}) {
        if (axis->IsShown()) {
            axis->Draw(canvas, rect);
        }
    }
    DrawSeries(canvas);
}

void ChartModel::DrawPanel(ChartCanvas& canvas) const {
    const ChartRect& panel = m_layout.Panel;
    canvas.FillRect(panel, m_color);
    if (m_bevelOuter == bvNone) {
        return;
    }
    const TColor topLeft = m_bevelOuter == bvRaised ? clBtnHighlight : clBtnShadow;
    const TColor bottomRight = m_bevelOuter == bvRaised ? clBtnShadow : clBtnHighlight;
    const int right = panel.Right - 1;
    const int bottom = panel.Bottom - 1;
    canvas.Line({0, 0}, {panel.Right, 0}, {topLeft});
    canvas.Line({0, 0}, {0, panel.Bottom}, {topLeft});
    canvas.Line({0, bottom}, {panel.Right, bottom}, {bottomRight});
    canvas.Line({right, 0}, {right, panel.Bottom}, {bottomRight});
}

void ChartModel::DrawBackWall(ChartCanvas& canvas) const {
    const ChartRect& plot = m_layout.Plot;
    ShapeStyle style{m_backWall.Pen, std::nullopt};
    if (m_backWall.Brush.Style == bsSolid) {
        style.Fill = m_backWall.Brush.Color;
    }
    // The frame's right and bottom lines lie on the plot's right and bottom edges.
    canvas.Rectangle({plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1}, style);
}

void ChartModel::DrawSeries(ChartCanvas& canvas) {
    const ChartRect& plot = m_layout.Plot;
    const ChartRect clip{plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1};
    for (TChartSeries* series : m_series) {
        if (series->Active()) {
            canvas.ClipTo(clip);
            series->DrawAllPoints(canvas);
        }
    }
    // The marks of every series after all lines and pointers, so that no later series' points
    // cover their texts; each keeps off the marks drawn before it.
    MarkPlacement placement(m_layout.Panel);
    for (TChartSeries* series : m_series) {
        if (series->Active()) {
            canvas.ClipTo(clip);
            if (!series->Marks().Clip) {
                canvas.NoClip();
            }
            series->DrawMarks(canvas, placement);
        }
    }
    canvas.NoClip();
}

}  // namespace gatool
