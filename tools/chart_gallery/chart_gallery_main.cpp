// \brief chart_gallery: renders the main window's three charts, filled from a GA file and a DCF
// file, into PNG files with the state of each drawing beside them as JSON.
//
//   chart_gallery [--ga FILE] [--dcf FILE] [--output DIR] [--scale RATIO]
//
// Runs without a display (Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise). Exit
// codes: 0 on success, 1 when a file cannot be read or written, 2 for a command line that cannot
// be used.
#include <QApplication>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "base/exceptions.h"
#include "numtext/number_marks.h"
#include "tools/chart_gallery/chart_state_json.h"
#include "tools/chart_gallery/window_charts.h"

namespace {

using namespace gatool;

struct GalleryOptions {
    std::filesystem::path GaFile = GATOOL_SAMPLES_DIR "/GA_sample.txt";
    std::filesystem::path DcfFile = GATOOL_SAMPLES_DIR "/DCF_sample.txt";
    std::filesystem::path OutputDir = "chart_gallery";
    double Scale = 1;
};

constexpr std::string_view Usage =
    "usage: chart_gallery [--ga FILE] [--dcf FILE] [--output DIR] [--scale RATIO]\n"
    "Writes scan_graph, slope_graph and ci_graph as .png and .json into DIR (default\n"
    "./chart_gallery). RATIO is the device pixel ratio of the images (default 1).\n";

struct UsageError {
    std::string Message;
};

GalleryOptions ParseOptions(int argc, char** argv) {
    GalleryOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc) {
            throw UsageError{"missing value after " + std::string(option)};
        }
        const std::string value = argv[++i];
        if (option == "--ga") {
            options.GaFile = value;
        } else if (option == "--dcf") {
            options.DcfFile = value;
        } else if (option == "--output") {
            options.OutputDir = value;
        } else if (option == "--scale") {
            try {
                options.Scale = std::stod(value);
            } catch (const std::exception&) {
                throw UsageError{"not a number: " + value};
            }
            if (!(options.Scale >= 1 && options.Scale <= 4)) {
                throw UsageError{"the scale must lie between 1 and 4"};
            }
        } else {
            throw UsageError{"unknown option " + std::string(option)};
        }
    }
    return options;
}

void WriteChart(TChart& chart, const GalleryOptions& options, const std::string& name) {
    const QImage image = PaintChart(chart, options.Scale);
    const std::filesystem::path png = options.OutputDir / (name + ".png");
    if (!image.save(QString::fromStdString(png.string()))) {
        throw Exception("cannot write " + png.string());
    }
    const std::filesystem::path json = options.OutputDir / (name + ".json");
    std::ofstream out(json);
    out << ChartStateJson(chart).dump(2) << '\n';
    if (!out) {
        throw Exception("cannot write " + json.string());
    }
    std::cout << png.string() << '\n' << json.string() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    GalleryOptions options;
    try {
        if (argc == 2 &&
            (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
            std::cout << Usage;
            return 0;
        }
        options = ParseOptions(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << "chart_gallery: " << error.Message << '\n' << Usage;
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    LoadNumberMarksFromUserLocale();
    try {
        std::filesystem::create_directories(options.OutputDir);
        WindowCharts charts;
        ToolState state;
        LoadWindowCharts(charts, state, options.GaFile, options.DcfFile);
        WriteChart(charts.Scan.ScanGraph, options, "scan_graph");
        WriteChart(charts.Slope.SlopeGraph, options, "slope_graph");
        WriteChart(charts.Ci.CIGraph, options, "ci_graph");
        return 0;
    } catch (const std::exception& failure) {
        std::cerr << "chart_gallery: " << failure.what() << '\n';
        return 1;
    }
}
