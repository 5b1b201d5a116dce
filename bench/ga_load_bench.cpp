// \brief Benchmark of reading and analysing a 50-scan GA file: the header, 50 blocks of 25 steps,
// the dead-time correction of every count and the peak location of every slit in every scan.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>

#include "data/ga_reader.h"

namespace {

using namespace gatool;

const std::string SamplePath = GATOOL_SAMPLES_DIR "/GA_sample_50scans.txt";

std::string ReadSample() {
    std::ifstream in(SamplePath, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + SamplePath);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Load(GaTest& test, InputStream& in) {
    test.LastScan = -1;
    ReadGaFile(test, in, GaReadHooks{});
    if (test.LastScan != MaxScans - 1) {
        throw std::runtime_error("the sample does not hold 50 scans");
    }
}

void BM_LoadGaFromMemory(benchmark::State& state) {
    const std::string bytes = ReadSample();
    auto test = std::make_unique<GaTest>();
    for (auto _ : state) {
        InputStream in = InputStream::FromMemory(bytes);
        Load(*test, in);
        benchmark::DoNotOptimize(test->Scans[MaxScans - 1].PeakPos);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadGaFromMemory)->Unit(benchmark::kMicrosecond);

void BM_LoadGaFromFile(benchmark::State& state) {
    auto test = std::make_unique<GaTest>();
    for (auto _ : state) {
        InputStream in = InputStream::FromFile(SamplePath);
        Load(*test, in);
        benchmark::DoNotOptimize(test->Scans[MaxScans - 1].PeakPos);
    }
}
BENCHMARK(BM_LoadGaFromFile)->Unit(benchmark::kMicrosecond);

}  // namespace
