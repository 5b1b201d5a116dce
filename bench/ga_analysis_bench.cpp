// \brief Benchmark of the whole analysis of a 50-scan GA file with a DCF file: the DCF load, the GA
// load with its peaks, the slope fit with GS and GI and the CI simulation; and of the slope refresh
// alone (GS and GI, then the CI simulation), which every peak pick and slit click repeats.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "app/load_flows.h"

namespace {

using namespace gatool;

std::string ReadSample(const std::string& name) {
    const std::string path = GATOOL_SAMPLES_DIR "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Loads the DCF file and then the GA file into `state`, as the window does.
void LoadBoth(ToolState& state, const std::string& dcf, const std::string& ga) {
    ComputedRefreshes refreshes(state);
    InputStream dcfIn = InputStream::FromMemory(dcf);
    LoadDcfFile(state, dcfIn, refreshes);
    InputStream gaIn = InputStream::FromMemory(ga);
    GaLoadOutcome outcome;
    LoadGaFile(state, gaIn, refreshes, outcome);
    if (state.Test->LastScan != MaxScans - 1 || state.Ci.Slit1.size() != MaxScans - 1) {
        throw std::runtime_error("the samples do not give 50 scans with CI points");
    }
}

void BM_WholeAnalysisWithDcf(benchmark::State& benchState) {
    const std::string ga = ReadSample("GA_sample_50scans.txt");
    const std::string dcf = ReadSample("DCF_sample.txt");
    ToolState state;
    for (auto _ : benchState) {
        state.Controls.GsText = "1";
        state.Controls.GiText = "0";
        LoadBoth(state, dcf, ga);
        benchmark::DoNotOptimize(state.Ci.Slit5.data());
    }
}
BENCHMARK(BM_WholeAnalysisWithDcf)->Unit(benchmark::kMicrosecond);

void BM_SlopeRefresh(benchmark::State& benchState) {
    ToolState state;
    LoadBoth(state, ReadSample("DCF_sample.txt"), ReadSample("GA_sample_50scans.txt"));
    ComputedRefreshes refreshes(state);
    for (auto _ : benchState) {
        refreshes.UpdateSlopeFit();
        benchmark::DoNotOptimize(state.Ci.Slit5.data());
    }
}
BENCHMARK(BM_SlopeRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
