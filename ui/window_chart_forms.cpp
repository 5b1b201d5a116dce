// \brief The main window's chart forms; see window_chart_forms.h.
#include "ui/window_chart_forms.h"

namespace gatool {

namespace {

// What all three charts share: flat, white, with a white back wall drawn with a clear brush.
void ConfigureChart(TChart& chart, ChartSize size) {
    chart.resize(size.Width, size.Height);
    chart.SetColor(clWhite);
    chart.SetBackWall({{clWhite, bsClear}, {}});
}

void SetSilverGrid(TChartAxis& axis) {
    TChartPen grid = axis.Grid();
    grid.Color = clSilver;
    axis.SetGrid(grid);
}

void SetAxisTitle(TChartAxis& axis, std::string caption) {
    TChartAxisTitle title = axis.Title();
    title.Caption = std::move(caption);
    axis.SetTitle(title);
}

void ConfigureSeries(TLineSeries& series,
                     std::string name,
                     TColor color,
                     TSeriesPointerStyle pointerStyle,
                     bool pointerVisible) {
    series.SetName(std::move(name));
    series.SetSeriesColor(color);
    TSeriesPointer pointer = series.Pointer();
    pointer.Style = pointerStyle;
    pointer.Visible = pointerVisible;
    series.SetPointer(pointer);
}

void ShowMarks(TLineSeries& series, TColor backColor) {
    TSeriesMarks marks = series.Marks();
    marks.Visible = true;
    marks.BackColor = backColor;
    series.SetMarks(marks);
}

void SetLineWidth(TLineSeries& series, int width) {
    TChartPen pen = series.LinePen();
    pen.Width = width;
    series.SetLinePen(pen);
}

}  // namespace

ScanGraphForm::ScanGraphForm() {
    ConfigureChart(ScanGraph, Size);
    ScanGraph.SetBevelOuter(bvNone);
    ScanGraph.Title().SetText(std::vector<std::string>{""});
    ScanGraph.Title().SetAlignment(taLeftJustify);
    ScanGraph.BottomAxis().SetLabelStyle(talValue);
    ScanGraph.BottomAxis().SetAxisValuesFormat("###0.###");
    ScanGraph.Legend().SetVisible(false);

    const TColor red = RgbColor(0xFF0000);
    ConfigureSeries(Series1, "Series1", red, psCircle, true);
    ConfigureSeries(Series13, "Series13", red, psCircle, true);
    ConfigureSeries(Series14, "Series14", red, psCircle, true);
    ConfigureSeries(Series15, "Series15", red, psCircle, true);
    ConfigureSeries(Series16, "Series16", red, psCircle, true);
    ConfigureSeries(Series17, "Series17", red, psCircle, true);
    ConfigureSeries(Series5, "Series5", RgbColor(0xFFFF00), psRectangle, false);
    ConfigureSeries(Series6, "Series6", RgbColor(0x0000FF), psRectangle, false);
    ShowMarks(Series6, RgbColor(0xE0F3F0));
    ConfigureSeries(Series7, "Series7", RgbColor(0x808080), psRectangle, false);
    ShowMarks(Series7, Series7.Marks().BackColor);
    ConfigureSeries(Series26, "Series26", RgbColor(0xFF8000), psDownTriangle, true);

    for (TLineSeries* series : {&Series1, &Series5, &Series6, &Series7, &Series13, &Series14,
                                &Series15, &Series16, &Series17, &Series26}) {
        series->SetParentChart(&ScanGraph);
    }
}

SlopeGraphForm::SlopeGraphForm() {
    ConfigureChart(SlopeGraph, Size);
    SlopeGraph.SetBevelOuter(bvNone);
    SlopeGraph.Title().SetText(std::vector<std::string>{""});
    SlopeGraph.BottomAxis().SetAxisValuesFormat("###0");
    SetSilverGrid(SlopeGraph.BottomAxis());
    SetAxisTitle(SlopeGraph.BottomAxis(), "Step number");
    SetSilverGrid(SlopeGraph.LeftAxis());
    TChartLegend& legend = SlopeGraph.Legend();
    legend.SetColor(RgbColor(0xF2F2F2));
    legend.SetColorWidth(40);
    legend.SetDividingLines({clGray});
    legend.SetFrame({clGray});
    legend.SetLegendStyle(lsSeries);
    legend.SetShadowSize(1);

    const std::array<TColor, SlitCount> slitColors{RgbColor(0x0000FF), RgbColor(0x02C7DD),
                                                   RgbColor(0x00CC3E), RgbColor(0xBDDE01),
                                                   RgbColor(0xFEC005), RgbColor(0xFF8000)};
    for (std::size_t slit = 0; slit < SlitCount; ++slit) {
        TLineSeries& line = *SlopeLineSeries[slit];
        ConfigureSeries(line, "Series" + std::to_string(slit == 0 ? 3 : 7 + slit), slitColors[slit],
                        psCircle, false);
        line.SetTitle("Slit " + std::to_string(slit));
        SetLineWidth(line, 2);

        TLineSeries& marks = *SlopeMarkSeries[slit];
        ConfigureSeries(marks, "Series" + std::to_string(18 + slit), RgbColor(0xFF8000), psCircle,
                        true);
        marks.SetTitle("Marks");
        marks.SetShowInLegend(false);
        TChartPen pen = marks.LinePen();
        pen.Visible = false;
        marks.SetLinePen(pen);
    }
    ConfigureSeries(Series4, "Series4", RgbColor(0x000000), psDiamond, true);
    Series4.SetTitle("GI/GS");
    SetLineWidth(Series4, 3);
    TSeriesPointer diamond = Series4.Pointer();
    diamond.HorizSize = 6;
    diamond.VertSize = 6;
    diamond.Brush.Color = RgbColor(0x8000FF);
    Series4.SetPointer(diamond);
    Series4.SetCursor(crHandPoint);  // the line can be grabbed

    for (TLineSeries* series : SlopeLineSeries) {
        series->SetParentChart(&SlopeGraph);
    }
    for (TLineSeries* series : SlopeMarkSeries) {
        series->SetParentChart(&SlopeGraph);
    }
    Series4.SetParentChart(&SlopeGraph);
}

CiGraphForm::CiGraphForm() {
    ConfigureChart(CIGraph, Size);
    CIGraph.Title().SetText("TChart");
    CIGraph.Title().SetVisible(false);
    CIGraph.BottomAxis().SetAxisValuesFormat("###0");
    SetSilverGrid(CIGraph.BottomAxis());
    SetAxisTitle(CIGraph.BottomAxis(), "Wavelength, A");
    CIGraph.LeftAxis().SetAxisValuesFormat("#,##0.00");
    SetSilverGrid(CIGraph.LeftAxis());
    CIGraph.LeftAxis().SetMinorTickCount(4);
    SetAxisTitle(CIGraph.LeftAxis(), "Estimated loss in counts, %");
    CIGraph.Legend().SetColor(RgbColor(0xE9E9E9));
    CIGraph.Legend().SetColorWidth(100);
    CIGraph.Legend().SetShadowSize(0);

    ConfigureSeries(Series24, "Series24", RgbColor(0x0000FF), psCircle, true);
    Series24.SetTitle("Slit 1");
    ConfigureSeries(Series25, "Series25", RgbColor(0x00CC66), psCircle, true);
    Series25.SetTitle("Slit 5");
    for (TLineSeries* series : {&Series24, &Series25}) {
        TSeriesPointer pointer = series->Pointer();
        pointer.HorizSize = 3;
        pointer.VertSize = 3;
        series->SetPointer(pointer);
        series->SetParentChart(&CIGraph);
    }
}

}  // namespace gatool
