// \brief TChartAxis: the range, labels, ticks and grid of one of the chart's two axes, and the
// mapping between axis values and screen pixels that every drawing leaves in it.
#pragma once

#include <string>
#include <vector>

#include "chart/chart_canvas.h"
#include "chart/chart_part.h"

namespace gatool {

enum TAxisLabelStyle { talAuto, talNone, talValue, talText };

struct TChartAxisTitle {
    std::string Caption;
    TChartFont Font;
    bool operator==(const TChartAxisTitle&) const = default;
};

// A label of the last drawing: its text and its pixel position along the axis.
struct AxisLabel {
    std::string Text;
    int Position = 0;
    bool operator==(const AxisLabel&) const = default;
};

class TChartAxis : public ChartPart {
  public:
    // The tick list of one drawing holds at most this many positions.
    static constexpr std::size_t MaxTicks = 2000;

    // A horizontal axis runs along the bottom of the plot, a vertical one along its left side.
    TChartAxis(ChartModel& chart, bool horizontal);

    bool Horizontal() const { return m_horizontal; }

    // Range. Setting Automatic sets both automatic ends; clearing one end clears Automatic, and
    // setting it sets Automatic when the other end is automatic too.
    bool Automatic() const { return m_automatic; }
    void SetAutomatic(bool value);
    bool AutomaticMinimum() const { return m_automaticMinimum; }
    void SetAutomaticMinimum(bool value);
    bool AutomaticMaximum() const { return m_automaticMaximum; }
    void SetAutomaticMaximum(bool value);
    // While an end is automatic, every drawing stores the computed end here.
    double Minimum() const { return m_minimum; }
    double Maximum() const { return m_maximum; }
    // Raise AxisException when the new end lies on the wrong side of the other one.
    void SetMinimum(double value);
    void SetMaximum(double value);
    // Fixes both ends: swapped when reversed, widened to a span of 1e-10 when closer; never fails.
    void SetAxisRange(double minimum, double maximum);
    double Increment() const { return m_increment; }
    void SetIncrement(double value) { Change(m_increment, value); }

    // Labels.
    const std::string& AxisValuesFormat() const { return m_axisValuesFormat; }
    void SetAxisValuesFormat(std::string value) { Change(m_axisValuesFormat, std::move(value)); }
    TAxisLabelStyle LabelStyle() const { return m_labelStyle; }
    void SetLabelStyle(TAxisLabelStyle value) { Change(m_labelStyle, value); }
    bool Labels() const { return m_labels; }
    void SetLabels(bool value) { Change(m_labels, value); }
    bool LabelsOnAxis() const { return m_labelsOnAxis; }
    void SetLabelsOnAxis(bool value) { Change(m_labelsOnAxis, value); }
    int LabelsSeparation() const { return m_labelsSeparation; }
    void SetLabelsSeparation(int value) { Change(m_labelsSeparation, value); }
    int LabelsSize() const { return m_labelsSize; }
    void SetLabelsSize(int value) { Change(m_labelsSize, value); }
    bool RoundFirstLabel() const { return m_roundFirstLabel; }
    void SetRoundFirstLabel(bool value) { Change(m_roundFirstLabel, value); }
    const TChartFont& LabelsFont() const { return m_labelsFont; }
    void SetLabelsFont(const TChartFont& value) { Change(m_labelsFont, value); }

    // Lines.
    const TChartPen& Axis() const { return m_axis; }
    void SetAxis(const TChartPen& value) { Change(m_axis, value); }
    const TChartPen& Grid() const { return m_grid; }
    void SetGrid(const TChartPen& value) { Change(m_grid, value); }
    const TChartPen& Ticks() const { return m_ticks; }
    void SetTicks(const TChartPen& value) { Change(m_ticks, value); }
    const TChartPen& MinorTicks() const { return m_minorTicks; }
    void SetMinorTicks(const TChartPen& value) { Change(m_minorTicks, value); }
    int TickLength() const { return m_tickLength; }
    void SetTickLength(int value) { Change(m_tickLength, value); }
    int MinorTickLength() const { return m_minorTickLength; }
    void SetMinorTickLength(int value) { Change(m_minorTickLength, value); }
    int MinorTickCount() const { return m_minorTickCount; }
    void SetMinorTickCount(int value) { Change(m_minorTickCount, value); }
    bool TickOnLabelsOnly() const { return m_tickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool value) { Change(m_tickOnLabelsOnly, value); }

    // The axis title; the vertical axis' title is turned to read upwards.
    const TChartAxisTitle& Title() const { return m_title; }
    void SetTitle(const TChartAxisTitle& value) { Change(m_title, value); }
    int TitleSize() const { return m_titleSize; }
    void SetTitleSize(int value) { Change(m_titleSize, value); }
    bool Visible() const { return m_visible; }
    void SetVisible(bool value) { Change(m_visible, value); }

    // Mapping by the state of the last drawing. PixelToValue gives 0 on an axis without length;
    // ValueToPixel gives PixelCentre for a range of 0 and for offsets of 2^31 pixels or more, and
    // rounds half to even.
    double PixelToValue(int pixel) const;
    int ValueToPixel(double value) const;

    // State left by the last drawing.
    int PixelStart() const { return m_pixelStart; }
    int PixelEnd() const { return m_pixelEnd; }
    int PixelLength() const { return m_pixelLength; }
    int PixelCentre() const { return m_pixelCentre; }
    double RangeMin() const { return m_rangeMin; }
    double RangeMax() const { return m_rangeMax; }
    double RangeSpan() const { return m_rangeSpan; }
    int AxisPosition() const { return m_axisPosition; }
    int LabelsPosition() const { return m_labelsPosition; }
    int TitlePosition() const { return m_titlePosition; }
    double LabelStep() const { return m_labelStep; }
    const std::vector<int>& TickPositions() const { return m_tickPositions; }
    const std::vector<AxisLabel>& DrawnLabels() const { return m_drawnLabels; }

    // The steps of a drawing, in the order in which the chart runs them.
    //
    // Shown: the chart shows axes, the axis is visible and an active series uses it.
    bool IsShown() const;
    // Computes the automatic ends and sets the range from Minimum and Maximum.
    void CalcAutomaticRange();
    // Takes the room of the title, the labels and the ticks from `rect`'s side of the axis; what
    // is left of that side is the plot's edge.
    void TakeRoom(ChartCanvas& canvas, ChartRect& rect);
    void SetPixelPositions(const ChartRect& plot);
    // Widens the automatic ends of the range so that the series' pointers, and on a vertical axis
    // the boxes of visible marks above the points, fit inside the plot.
    void ApplySeriesMargins(ChartCanvas& canvas);
    // Draws labels, axis line, ticks, grid, minor ticks and the title.
    void Draw(ChartCanvas& canvas, const ChartRect& plot);

  private:
    // The label step for the current range over an axis `pixelLength` pixels long.
    double CalcLabelStep(ChartCanvas& canvas, int pixelLength) const;
    std::string LabelText(double value) const;
    void SetPixels(int start, int end);
    void SetRange(double minimum, double maximum);
    TAxisLabelStyle ResolvedLabelStyle() const;
    // The width of the widest label the axis will draw over `pixelLength` pixels, and a space.
    int LabelWidthEstimate(ChartCanvas& canvas, int pixelLength) const;
    int TickStripSize() const;

    void DrawValueLabels(ChartCanvas& canvas);
    void DrawValueLabel(ChartCanvas& canvas, double value);
    void DrawTextLabels(ChartCanvas& canvas);
    void DrawLabel(ChartCanvas& canvas, const std::string& text, int position);
    void AddTick(int position);
    void DrawTick(ChartCanvas& canvas, int position, int length, const TChartPen& pen);
    void DrawGrid(ChartCanvas& canvas, const ChartRect& plot);
    void DrawMinorTicks(ChartCanvas& canvas);
    void DrawTitle(ChartCanvas& canvas);

    const bool m_horizontal;

    bool m_automatic = true;
    bool m_automaticMinimum = true;
    bool m_automaticMaximum = true;
    double m_minimum = 0;
    double m_maximum = 0;
    double m_increment = 0;

    std::string m_axisValuesFormat = "#,##0.###";
    TAxisLabelStyle m_labelStyle = talAuto;
    bool m_labels = true;
    bool m_labelsOnAxis = true;
    int m_labelsSeparation = 10;
    int m_labelsSize = 0;
    bool m_roundFirstLabel = true;
    TChartFont m_labelsFont;

    TChartPen m_axis{clBlack, 2};
    TChartPen m_grid{clGray, 1, psDot};
    TChartPen m_ticks{clGray};
    TChartPen m_minorTicks{clGray};
    int m_tickLength = 4;
    int m_minorTickLength = 2;
    int m_minorTickCount = 3;
    bool m_tickOnLabelsOnly = true;

    TChartAxisTitle m_title;
    int m_titleSize = 0;
    bool m_visible = true;

    int m_pixelStart = 0;
    int m_pixelEnd = 0;
    int m_pixelLength = 0;
    int m_pixelCentre = 0;
    double m_rangeMin = 0;
    double m_rangeMax = 0;
    double m_rangeSpan = 0;
    int m_axisPosition = 0;
    int m_labelsPosition = 0;
    int m_titlePosition = 0;
    double m_labelStep = 0;
    std::vector<int> m_tickPositions;
    std::vector<AxisLabel> m_drawnLabels;
};

}  // namespace gatool
