// Printing a report to a PDF file, read back with pdftotext and pdffonts; the clipboard.
#include "crash/delivery/ui/report_printing.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QPageSize>
#include <QPrinter>

#include "crash/delivery/ui/report_clipboard.h"
#include "tests/crash/delivery/child_program.h"
#include "tests/crash/delivery/scratch_folder.h"

namespace kestrix {
namespace {

constexpr double PointsPerCentimetre = 72 / 2.54;

// The number in name="..." of the element that starts at the offset.
double Attribute(const std::string& text, std::size_t element, const std::string& name) {
    const std::size_t value = text.find(name + "=\"", element) + name.size() + 2;
    return std::stod(text.substr(value, text.find('"', value) - value));
}

class ReportPrintingTest : public testing::Test {
  protected:
    // Prints to an A4 PDF; the number of pages.
    int Print(const std::string& report) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(Pdf().string()));
        printer.setPageSize(QPageSize(QPageSize::A4));
        return PrintReportPages(printer, report);
    }

    std::filesystem::path Pdf() const { return m_scratch.Path() / "report.pdf"; }

    // The pages as pdftotext lays them out.
    std::vector<std::vector<std::string>> Pages() const {
        const auto text = test::RunChild({"pdftotext", "-layout", Pdf().string(), "-"});
        EXPECT_EQ(text.ExitCode, 0) << text.Output;
        std::vector<std::vector<std::string>> pages(1);
        std::string line;
        for (const char c : text.Output) {
            if (c == '\f') {
                pages.emplace_back();
            } else if (c == '\n') {
                pages.back().push_back(line);
                line.clear();
            } else {
                line.push_back(c);
            }
        }
        while (!pages.empty() && pages.back().empty()) {
            pages.pop_back();
        }
        return pages;
    }

    ScratchFolder m_scratch{"kestrix-printing"};
};

TEST_F(ReportPrintingTest, PagesHoldEveryLineInOrderInCourierNewEightPoints) {
    std::string report;
    for (int line = 1; line <= 200; ++line) {
        report += "line " + std::to_string(line) + "\r\n";
    }
    const int pages = Print(report);
    EXPECT_EQ(pages, 3);
    const auto printed = Pages();
    ASSERT_EQ(printed.size(), 3u);
    int expected = 1;
    for (const auto& page : printed) {
        for (const std::string& line : page) {
            if (line.find_first_not_of(' ') == std::string::npos) {
                continue;
            }
            EXPECT_EQ(line.substr(line.find_first_not_of(' ')), "line " + std::to_string(expected));
            ++expected;
        }
    }
    EXPECT_EQ(expected, 201);
    // A4 less 2 cm of margins at 8 points: 277 mm / (about 9 points) per line.
    const std::size_t firstPage = static_cast<std::size_t>(std::count_if(
        printed[0].begin(), printed[0].end(),
        [](const std::string& line) { return line.find("line") != std::string::npos; }));
    EXPECT_GE(firstPage, 80u);
    EXPECT_LE(firstPage, 92u);

    const auto fonts = test::RunChild({"pdffonts", Pdf().string()});
    EXPECT_NE(fonts.Output.find("LiberationMono"), std::string::npos) << fonts.Output;
}

TEST_F(ReportPrintingTest, MarginsAndWordWrap) {
    std::string longLine;
    for (int word = 1; word <= 40; ++word) {
        longLine += "word" + std::to_string(word) + " ";
    }
    Print("first\r\n\r\n" + longLine + "\r\nlast");
    const auto printed = Pages();
    ASSERT_EQ(printed.size(), 1u);
    std::string text;
    std::vector<std::string> lines;
    for (const std::string& line : printed[0]) {
        if (line.find_first_not_of(' ') != std::string::npos) {
            lines.push_back(line.substr(line.find_first_not_of(' ')));
            text += lines.back() + " ";
        }
    }
    ASSERT_GE(lines.size(), 4u) << text;
    EXPECT_EQ(lines.front(), "first");
    EXPECT_EQ(lines.back(), "last");
    // Wrapped at word boundaries: every word whole and in order.
    for (int word = 1; word <= 40; ++word) {
        EXPECT_NE(text.find(" word" + std::to_string(word) + " "), std::string::npos) << word;
    }

    const auto boxes = test::RunChild({"pdftotext", "-bbox", Pdf().string(), "-"});
    double left = 1e9;
    double top = 1e9;
    double right = 0;
    for (std::size_t word = boxes.Output.find("<word "); word != std::string::npos;
         word = boxes.Output.find("<word ", word + 1)) {
        left = std::min(left, Attribute(boxes.Output, word, "xMin"));
        top = std::min(top, Attribute(boxes.Output, word, "yMin"));
        right = std::max(right, Attribute(boxes.Output, word, "xMax"));
    }
    EXPECT_NEAR(left, 2 * PointsPerCentimetre, 1.0);
    EXPECT_GE(top, 1 * PointsPerCentimetre - 1);
    EXPECT_LE(top, 1 * PointsPerCentimetre + 4);
    EXPECT_LE(right, 595.3 - 1 * PointsPerCentimetre + 1);
    EXPECT_GT(right, 595.3 - 1 * PointsPerCentimetre - 20);
}

TEST(ReportClipboard, HoldsTheReportAsPlainText) {
    FillClipboard("date/time : now\r\nü");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "date/time : now\r\nü");
}

}  // namespace
}  // namespace kestrix
