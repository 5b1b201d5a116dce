// \brief Chart state as JSON; see chart_state_json.h.
#include "tools/chart_gallery/chart_state_json.h"

namespace gatool {

namespace {

nlohmann::json RectJson(const ChartRect& rect) {
    return {{"Left", rect.Left}, {"Top", rect.Top}, {"Right", rect.Right}, {"Bottom", rect.Bottom}};
}

nlohmann::json AxisJson(const TChartAxis& axis) {
    nlohmann::json labels = nlohmann::json::array();
    for (const AxisLabel& label : axis.DrawnLabels()) {
        labels.push_back({{"Text", label.Text}, {"Position", label.Position}});
    }
    return {{"RangeMin", axis.RangeMin()},     {"RangeMax", axis.RangeMax()},
            {"Minimum", axis.Minimum()},       {"Maximum", axis.Maximum()},
            {"PixelStart", axis.PixelStart()}, {"PixelEnd", axis.PixelEnd()},
            {"LabelStep", axis.LabelStep()},   {"Labels", labels},
            {"Ticks", axis.TickPositions()}};
}

nlohmann::json SeriesJson(const TChartSeries& series) {
    nlohmann::json points = nlohmann::json::array();
    for (int index = 0; index < series.Count(); ++index) {
        points.push_back({series.XScreenPos(index), series.YScreenPos(index)});
    }
    return {{"Name", series.Name()},
            {"Title", series.Title()},
            {"Active", series.Active()},
            {"Count", series.Count()},
            {"FirstVisible", series.FirstVisible()},
            {"LastVisible", series.LastVisible()},
            {"ScreenPositions", points}};
}

}  // namespace

nlohmann::json ChartStateJson(const ChartModel& chart) {
    const ChartLayout& layout = chart.Layout();
    nlohmann::json axes = nlohmann::json::object();
    if (chart.BottomAxis().IsShown()) {
        axes["BottomAxis"] = AxisJson(chart.BottomAxis());
    }
    if (chart.LeftAxis().IsShown()) {
        axes["LeftAxis"] = AxisJson(chart.LeftAxis());
    }
    nlohmann::json series = nlohmann::json::array();
    for (const TChartSeries* each : chart.SeriesList()) {
        series.push_back(SeriesJson(*each));
    }
    return {{"Title", chart.Title().Text()},
            {"Panel", RectJson(layout.Panel)},
            {"Chart", RectJson(layout.Chart)},
            {"Plot", RectJson(layout.Plot)},
            {"TitleRect", RectJson(layout.Title)},
            {"Legend",
             {{"Rect", RectJson(layout.Legend.Rect)},
              {"RowHeight", layout.Legend.RowHeight},
              {"ColorWidth", layout.Legend.ColorWidth}}},
            {"Axes", axes},
            {"Series", series}};
}

}  // namespace gatool
