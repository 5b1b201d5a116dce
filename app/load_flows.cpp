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

void SimulateCi(ToolState& state) {
    SimulateCiScan(*state.Test, state.Window, state.Controls.GsText, state.Controls.GiText,
                   state.Ci);
}

void UpdateSlopeFit(ToolState& state) {
    GsGiResult result = DeriveGsGi(*state.Test, state.Controls);
    state.Controls.GsText = result.GsText;
    state.Controls.GiText = result.GiText;
    state.SlopeFit = std::move(result);
    SimulateCi(state);
}

void LoadGaFile(ToolState& state,
                InputStream& in,
                const GaReadHooks& hooks,
                GaLoadOutcome& outcome) {
    GaTest& test = *state.Test;
    test.LastScan = -1;
    test.SelectedScan = 1;
    outcome = {};
    try {
        outcome.Read = ReadGaFile(test, in, hooks);
    } catch (...) {
        outcome.ScansRead = std::max(test.LastScan, 0);
        throw;
    }
    outcome.ScansRead = test.LastScan + 1;
    test.SelectedScan = 0;
    UpdateSlopeFit(state);
    if (test.LastScan < 0) {
        return;
    }
    LocatePeak(test.Scans[0], 0, 1, state.Window);
    hooks.ShowScan(0, 1);
    SimulateCi(state);
}

int LoadDcfFile(ToolState& state, InputStream& in) {
    const int read = ReadDcfFile(state.Test->DispersionTable, in);
    if (state.Test->LastScan > 1) {
        SimulateCi(state);
    }
    return read;
}

}  // namespace gatool
