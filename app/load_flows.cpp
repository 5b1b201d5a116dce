// \brief Load flows without a window; see load_flows.h.
#include "app/load_flows.h"

#include <algorithm>
#include <cctype>

#include "data/dcf_reader.h"

namespace gatool {

bool HasNamePrefix(const std::filesystem::path& path, std::string_view prefix) {
    const std::string name = path.filename().string();
    return name.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), name.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) ==
                      std::toupper(static_cast<unsigned char>(b));
           });
}

const GsGiResult& FitSlope(ToolState& state) {
    state.Place = {LoadStage::SlopeFit};
    GsGiResult result = DeriveGsGi(*state.Test, state.Controls);
    state.Controls.GsText = result.GsText;
    state.Controls.GiText = result.GiText;
    return state.SlopeFit.emplace(std::move(result));
}

void SimulateCi(ToolState& state) {
    state.Place = {LoadStage::CiSimulation};
    SimulateCiScan(*state.Test, state.Window, state.Controls.GsText, state.Controls.GiText,
                   state.Ci);
}

std::pair<int, int> ResolveShownScan(GaTest& test, int scan, int slit) {
    if (scan >= 0) {
        test.ShownScan = scan;
    }
    if (slit >= 0) {
        test.ShownSlit = slit;
    }
    return {test.ShownScan, test.ShownSlit};
}

void ComputedRefreshes::UpdateSlopeFit() {
    FitSlope(m_state);
    SimulateCiScan(true);
}

void ComputedRefreshes::ShowScan(int scan, int slit) {
    ResolveShownScan(*m_state.Test, scan, slit);
}

void ComputedRefreshes::SimulateCiScan(bool) {
    SimulateCi(m_state);
}

void LoadGaFile(ToolState& state,
                InputStream& in,
                ToolRefreshes& refreshes,
                GaLoadOutcome& outcome) {
    GaTest& test = *state.Test;
    test.LastScan = -1;
    test.SelectedScan = 1;
    outcome = {};
    GaReadHooks hooks;
    hooks.CurrentFitWindow = [&state] { return state.Window; };
    hooks.ShowScan = [&refreshes](int scan, int slit) { refreshes.ShowScan(scan, slit); };
    hooks.Place = &state.Place;
    try {
        outcome.Read = ReadGaFile(test, in, hooks);
    } catch (...) {
        outcome.ScansRead = std::max(test.LastScan, 0);
        if (state.Place.Stage != LoadStage::PeakLocation) {
            state.Place.Line = in.Line();
        }
        throw;
    }
    outcome.ScansRead = test.LastScan + 1;
    test.SelectedScan = 0;
    refreshes.UpdateSlopeFit();
    if (test.LastScan >= 0) {
        state.Place = {LoadStage::PeakLocation, 0, 1};
        LocatePeak(test.Scans[0], 0, 1, state.Window);
        refreshes.ShowScan(0, 1);
        refreshes.SimulateCiScan(true);
    }
    state.Place = {};
}

int LoadDcfFile(ToolState& state, InputStream& in, ToolRefreshes& refreshes) {
    state.Place = {LoadStage::DcfFile};
    int read = 0;
    try {
        read = ReadDcfFile(state.Test->DispersionTable, in);
    } catch (...) {
        state.Place.Line = in.Line();
        throw;
    }
    if (state.Test->LastScan > 1) {
        refreshes.SimulateCiScan(true);
    }
    state.Place = {};
    return read;
}

}  // namespace gatool
