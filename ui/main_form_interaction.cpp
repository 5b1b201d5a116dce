// \brief The main window's reactions to the operator: picking a peak step in the scan chart,
// selecting a scan or dragging the GI/GS line in the slope chart, the slit check boxes and the
// clipboard button; see main_form.h.
//
// While no file is loaded (after a cancelled Load GA the charts still show the previous file) the
// chart clicks and drags do nothing: the records behind the points no longer count as loaded.
//
// During a drag of the GI/GS line the slope chart's vertical axis holds the range it was drawn
// with, so that the dragged end stays under the mouse: an automatic axis would grow with the line,
// and every further move would then reach further than the mouse. The release lets it find its
// range anew.
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "base/float_faults.h"
#include "ui/gui_application.h"
#include "ui/main_form.h"
#include "ui/window_chart_fill.h"

namespace gatool {

namespace {

// The slit whose series `series` is in `table`, or -1.
int SlitOf(const std::array<TLineSeries*, SlitCount>& table, const TChartSeries& series) {
    const auto found = std::find(table.begin(), table.end(), &series);
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

}  // namespace

void TMainForm::ConnectChartEvents() {
    m_scanForm.ScanGraph.SetOnClickSeries([this](ChartModel&, TChartSeries& series, int valueIndex,
                                                 TMouseButton, TShiftState, int, int) {
        GuiApplication::RunHandler([&] { ScanGraphClickSeries(series, valueIndex); });
    });
    TChart& slope = m_slopeForm.SlopeGraph;
    slope.SetOnClickSeries([this](ChartModel&, TChartSeries& series, int valueIndex, TMouseButton,
                                  TShiftState, int, int) {
        GuiApplication::RunHandler([&] { SlopeGraphClickSeries(series, valueIndex); });
    });
    slope.SetOnMouseMove([this](ChartModel&, TShiftState, int, int y) {
        GuiApplication::RunHandler([&] { SlopeGraphMouseMove(y); });
    });
    slope.SetOnMouseUp([this](ChartModel&, TMouseButton, TShiftState, int, int) {
        GuiApplication::RunHandler([&] { SlopeGraphMouseUp(); });
    });
    for (QCheckBox* box : m_slitBox) {
        connect(box, &QCheckBox::toggled, this,
                [this] { GuiApplication::RunHandler([this] { SlitsToShowClick(); }); });
    }
    connect(findChild<QPushButton*>("CopyClip"), &QPushButton::clicked, this,
            [this] { GuiApplication::RunHandler([this] { CopyClipClick(); }); });
}

void TMainForm::ScanGraphClickSeries(TChartSeries& series, int valueIndex) {
    const int slit = SlitOf(m_scanForm.ScanSlitSeries, series);
    if (slit < 0 || !FileLoaded()) {
        return;  // the fitted curve or one of the markers
    }
    ReadControls();
    GaTest& test = *m_state.Test;
    ScanRecord& record = test.Scans[std::size_t(test.SelectedScan)];
    const auto s = std::size_t(slit);
    const int step = valueIndex + 1;
    // Provisional until LocatePeak replaces them; they stay if it fails.
    record.PeakPos[s] = record.StepPos[std::size_t(step)];
    record.PeakCount[s] = record.Counts[s][std::size_t(step)];
    record.PeakOffset[s] = ToSingle(Extended{record.PeakPos[s]} - record.MidPos);
    LocatePeak(record, step, slit, m_state.Window);
    UpdateSlopeFit();
    ShowScan(test.SelectedScan, slit);
}

void TMainForm::SlopeGraphClickSeries(TChartSeries& series, int valueIndex) {
    if (!FileLoaded()) {
        return;
    }
    GaTest& test = *m_state.Test;
    if (&series == &m_slopeForm.Series4) {
        // A line without length (one scan, or the first and last scans at one midpoint) has no
        // slope to set: the drag is refused.
        if (test.Scans[0].MidPos != test.Scans[std::size_t(test.LastScan)].MidPos) {
            m_dragging = true;
            m_dragFirstEnd = valueIndex == 0;
            HoldSlopeAxis();
        }
        return;
    }
    const int slit = SlitOf(m_slopeForm.SlopeMarkSeries, series);
    if (slit < 0) {
        return;
    }
    ReadControls();
    LocatePeak(test.Scans[std::size_t(valueIndex)], 0, slit, m_state.Window);
    ShowScan(valueIndex, slit);
    test.SelectedScan = valueIndex;
    UpdateSlopeFit();
}

void TMainForm::SlopeGraphMouseMove(int y) {
    if (!m_dragging) {
        return;
    }
    GaTest& test = *m_state.Test;
    const double gs = test.CurrentGS;
    const double gi = test.CurrentGI;
    const double v = m_slopeForm.Series4.YValueAtPixel(y);
    const double x0 = test.Scans[0].MidPos;
    const double x1 = test.Scans[std::size_t(test.LastScan)].MidPos;
    double y0 = (gs - 1) * x0 + gi;
    double y1 = (gs - 1) * x1 + gi;
    (m_dragFirstEnd ? y0 : y1) = v;
    // The line through the two ends: GS is its slope plus 1.
    const double newGs = ToDouble(Divide(y1 - y0 + x1 - x0, x1 - x0));
    const double newGi = y0 - (newGs - 1) * x0;
    test.CurrentGS = ToSingle(newGs);
    test.CurrentGI = ToSingle(newGi);

    ShowGsGiLine(m_slopeForm, {{{x0, (newGs - 1) * x0 + newGi}, {x1, (newGs - 1) * x1 + newGi}}});
    WriteCurrentGsGi();
    m_boxesHoldFileGsGi = true;
    ShowScan(-1, -1);
    SimulateCiScan(false);
}

void TMainForm::HoldSlopeAxis() {
    TChartAxis& axis = m_slopeForm.SlopeGraph.LeftAxis();
    m_slopeAxisHeld = axis.Automatic();
    if (m_slopeAxisHeld) {
        axis.SetAxisRange(axis.RangeMin(), axis.RangeMax());  // as drawn, margins included
    }
}

void TMainForm::SlopeGraphMouseUp() {
    m_dragging = false;
    if (m_slopeAxisHeld) {
        m_slopeForm.SlopeGraph.LeftAxis().SetAutomatic(true);
        m_slopeAxisHeld = false;
    }
    if (!FileLoaded()) {
        return;
    }
    WriteCurrentGsGi();
    SimulateCiScan(true);
}

void TMainForm::WriteCurrentGsGi() {
    const GaTest& test = *m_state.Test;
    m_slopeForm.SlopeGraph.Title().SetText(GsGiTitle(test.CurrentGS, test.CurrentGI));
    WriteGsGi(test.CurrentGS, test.CurrentGI);
}

void TMainForm::SlitsToShowClick() {
    if (FileLoaded()) {
        UpdateSlopeFit();
    }
}

void TMainForm::CopyClipClick() {
    QGuiApplication::clipboard()->setText(m_gs->text() + '\r' + m_gi->text());
}

}  // namespace gatool
