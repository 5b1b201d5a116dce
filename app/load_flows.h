// \brief The tool's load flows and slope refresh as far as they need no window: what "Load GA
// file" and "Load DCF" compute, given the option controls as plain values.
//
// The window runs the same steps and adds its drawing; the command line prints the outcome.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "analysis/ci_simulation.h"
#include "analysis/gs_gi.h"
#include "data/ga_reader.h"
#include "data/load_place.h"

namespace gatool {

// The state of the tool outside its window: the test data, what the option controls hold (the
// slit boxes, UseCentreMass, ManualGSGI, the texts of the GS and GI boxes, the fit window), the
// results of the last refreshes, and where the load or refresh under way is: a completed load
// leaves Stage None.
struct ToolState {
    std::unique_ptr<GaTest> Test = std::make_unique<GaTest>();
    GsGiInputs Controls = [] {
        GsGiInputs controls;
        controls.SlitChecked[1] = true;  // slit 1 is checked at start
        return controls;
    }();
    FitWindow Window = FitWindow::SevenPoint;
    std::optional<GsGiResult> SlopeFit;
    CiCurves Ci;
    LoadPlace Place;
};

// Whether the last component of the path begins with `prefix` in any letter case.
bool HasNamePrefix(const std::filesystem::path& path, std::string_view prefix);

// Derives GS and GI from the test and the option controls into state.SlopeFit, and writes the two
// boxes' texts; raises what DeriveGsGi raises, with the state unchanged but for its Place.
const GsGiResult& FitSlope(ToolState& state);

// Runs the CI simulation with the boxes' current texts into state.Ci; on a failure state.Ci holds
// the points made before it.
void SimulateCi(ToolState& state);

// The scan and slit to show for ShowScan's arguments: a negative one stands for the one shown last.
// Remembers the result as the one shown.
std::pair<int, int> ResolveShownScan(GaTest& test, int scan, int slit);

// The three refresh routines that the load flows run: the slope fit (GS and GI; ends with the CI
// simulation), the display of one slit of one scan, and the CI simulation.
class ToolRefreshes {
  public:
    virtual ~ToolRefreshes() = default;
    virtual void UpdateSlopeFit() = 0;
    virtual void ShowScan(int scan, int slit) = 0;
    virtual void SimulateCiScan(bool automaticRange) = 0;
};

// The refresh routines without a window: they compute into the tool's state and show nothing.
class ComputedRefreshes : public ToolRefreshes {
  public:
    explicit ComputedRefreshes(ToolState& state) : m_state(state) {}

    void UpdateSlopeFit() override;
    void ShowScan(int scan, int slit) override;
    void SimulateCiScan(bool automaticRange) override;

  protected:
    ToolState& m_state;
};

struct GaLoadOutcome {
    GaReadSummary Read;
    // Scans whose blocks were read whole; on a failure while reading, the scans before the failing
    // block.
    int ScansRead = 0;
};

// "Load GA file" for an open file whose name has passed the name test: puts the tool into the
// no-file state (LastScan -1, SelectedScan 1), reads the header and the blocks (every slit of every
// block located with state.Window and shown), marks scan 0, refreshes the slope fit, locates slit 1
// of scan 0 again, shows it and runs the CI simulation. A file without scan blocks stops after the
// slope refresh, since no scan is there to show. A failure raises, with the state as far as the
// flow got; `outcome` then tells how many scans were read and state.Place where the failure struck.
void LoadGaFile(ToolState& state,
                InputStream& in,
                ToolRefreshes& refreshes,
                GaLoadOutcome& outcome);

// "Load DCF" from the reading on: reads the dispersion table and, with at least three scans
// loaded, runs the CI simulation. Returns how many of the 18 numbers were read. A failure raises
// with state.Place telling where it struck.
int LoadDcfFile(ToolState& state, InputStream& in, ToolRefreshes& refreshes);

}  // namespace gatool
