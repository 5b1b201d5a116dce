// \brief TMainForm: the tool's one window, "Processing GA tests". It is built from its form
// definition (controls, the tab control with ScanGraph and CIGraph, the splitter and SlopeGraph),
// loads GA and DCF files, and refreshes the three charts from the analysis.
//
// The option controls are read afresh whenever a flow or a refresh starts, and passed to the
// analysis as plain values through the tool's state. The refresh routines let pending events run
// where the CI chart is redrawn, but hold the operator's input back until the routine is done, so
// that no click or drag runs in the middle of a refresh and mixes two refreshes in one chart.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/load_flows.h"
#include "ui/main_form_definition.h"
#include "ui/window_chart_forms.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace gatool {

// Asks for a file to open, the name preset to `preset` ("GA*.*", "DCF*.*"); nothing on a cancel.
using FileChooser = std::function<std::optional<std::filesystem::path>(const std::string& preset)>;

// The open-file dialog's name filter for a preset: "GA*.*" shows every name that begins with GA,
// with an extension or without.
QString DialogNameFilter(const std::string& preset);

// The open-file dialog over `parent`, with the preset as a case-insensitive name filter, opening in
// the folder of the file chosen last.
FileChooser DialogFileChooser(QWidget* parent);

class TMainForm : public QWidget, public ToolRefreshes {
  public:
    // A window whose load flows ask `chooseFile` for their files.
    explicit TMainForm(FileChooser chooseFile);

    // The open-file dialog of the window, or a stand-in for it.
    void SetFileChooser(FileChooser chooseFile) { m_chooseFile = std::move(chooseFile); }

    // The click handlers of LoadGA, LoadDCF and Exit.
    void LoadGAClick();
    void LoadDCFClick();
    void ExitClick();

    // The two load flows from the chosen file on.
    void OpenGaFile(const std::filesystem::path& path);
    void OpenDcfFile(const std::filesystem::path& path);

    // The refresh routines of the three charts.
    void UpdateSlopeFit() override;
    void ShowScan(int scan, int slit) override;
    void SimulateCiScan(bool automaticRange) override;

    // The operator's clicks and drags.
    void ScanGraphClickSeries(TChartSeries& series, int valueIndex);
    void SlopeGraphClickSeries(TChartSeries& series, int valueIndex);
    void SlopeGraphMouseMove(int y);
    void SlopeGraphMouseUp();
    void SlitsToShowClick();
    void CopyClipClick();
    bool Dragging() const { return m_dragging; }

    const ToolState& State() const { return m_state; }
    ScanGraphForm& ScanForm() { return m_scanForm; }
    SlopeGraphForm& SlopeForm() { return m_slopeForm; }
    CiGraphForm& CiForm() { return m_ciForm; }
    const std::array<QCheckBox*, SlitCount>& SlitBox() const { return m_slitBox; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildControls();
    void BuildPanel();
    void BuildSlitBoxes();
    void ConnectHandlers();
    void ConnectChartEvents();
    void ReadControls();
    FitWindow CurrentFitWindow() const;
    void WriteGsGi(double gs, double gi);
    void WriteCurrentGsGi();
    void HoldSlopeAxis();
    void ShowError(const char* text);
    void ShowLoadNotes(const std::string& notes);
    void ForgetOtherFilesGsGi();
    bool FileLoaded() const { return m_state.Test->LastScan >= 0; }

    FileChooser m_chooseFile;
    // What the open-file dialog holds: the path last chosen, or the preset after a cancel.
    std::string m_loadFileName;
    ToolState m_state;
    ScanGraphForm m_scanForm;
    SlopeGraphForm m_slopeForm;
    CiGraphForm m_ciForm;
    // The controls placed directly on the window, for the anchor rule.
    std::vector<std::pair<QWidget*, const ControlDefinition*>> m_anchored;
    std::array<QCheckBox*, SlitCount> m_slitBox{};
    QLineEdit* m_gs = nullptr;
    QLineEdit* m_gi = nullptr;
    QCheckBox* m_manualGsGi = nullptr;
    QCheckBox* m_useCentreMass = nullptr;
    QRadioButton* m_sevenPointFit = nullptr;
    QTabWidget* m_pageControl = nullptr;
    // The status line under the charts: what the last GA load did not give.
    QLabel* m_loadNotes = nullptr;
    // The GS and GI boxes hold what a fit or a drag derived for the loaded file, not the start
    // values nor what the operator typed: another file's GS and GI once the next load begins.
    bool m_boxesHoldFileGsGi = false;
    // A drag of the GI/GS line in SlopeGraph, and which end it moves.
    bool m_dragging = false;
    bool m_dragFirstEnd = false;
    // The drag fixed SlopeGraph's automatic vertical axis, to be freed at the release.
    bool m_slopeAxisHeld = false;
};

}  // namespace gatool
