// \brief Laying the report out on the printer's pages.
#include "crash/delivery/ui/report_printing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextLayout>

#include "crash/settings/ikx_settings.h"

namespace kestrix {
namespace {

constexpr double CentimetresPerInch = 2.54;

double Pixels(double centimetres, int resolution) {
    return centimetres / CentimetresPerInch * resolution;
}

// The report's lines, split at carriage return/line feed pairs and single breaks.
QStringList ReportLines(const std::string& report) {
    QString text = QString::fromUtf8(report.data(), static_cast<qsizetype>(report.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QStringList lines = text.split(QChar('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.pop_back();
    }
    return lines;
}

}  // namespace

int PrintReportPages(QPrinter& printer, const std::string& report) {
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return 0;
    }
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(8);
    painter.setFont(font);
    const int resolution = printer.resolution();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF area(Pixels(2, resolution), Pixels(1, resolution),
                      paper.width() - Pixels(3, resolution),
                      paper.height() - Pixels(2, resolution));
    const QFontMetricsF metrics(painter.font(), &printer);
    const double lineHeight = metrics.lineSpacing();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    int pages = 1;
    double y = area.top();
    for (const QString& reportLine : ReportLines(report)) {
        QTextLayout layout(reportLine.isEmpty() ? QStringLiteral(" ") : reportLine, painter.font(),
                           &printer);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(area.width());
        }
        layout.endLayout();
        const double height = layout.lineCount() * lineHeight;
        // A line that does not fit goes onto a new page, unless it would not fit on any.
        if (y + height > area.bottom() && y > area.top()) {
            printer.newPage();
            ++pages;
            y = area.top();
        }
        for (int i = 0; i < layout.lineCount(); ++i) {
            if (y + lineHeight > area.bottom() && y > area.top()) {
                printer.newPage();
                ++pages;
                y = area.top();
            }
            const QTextLine line = layout.lineAt(i);
            line.draw(&painter, QPointF(area.left(), y - line.y()));
            y += lineHeight;
        }
    }
    painter.end();
    return pages;
}

bool PrintBugReport(const std::string& report, QWidget* parent, const IKXSettings& settings) {
    QPrinter printer;
    printer.setDocName(QString::fromStdString(settings.PrintBtnTxt()));
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    return PrintReportPages(printer, report) > 0;
}

}  // namespace kestrix
