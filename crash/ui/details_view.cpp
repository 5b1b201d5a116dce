// \brief The tabs and their column views.
#include "crash/ui/details_view.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <map>
#include <sstream>

#include "crash/ui/report_text_fields.h"
#include "crash/ui/section_rows.h"

namespace kestrix {
namespace {

constexpr const char* GeneralTab = "general";
constexpr const char* CallStackTab = "call stack";

bool IsThreadSection(const std::string& name) {
    return name.find('$') != std::string::npos;
}

std::string TabNameOf(const std::string& section) {
    if (section == "cpu registers") {
        return "cpu regs";
    }
    if (section == "disassembling") {
        return "disasm";
    }
    return section;
}

const std::map<std::string, QStringList>& ColumnsBySection() {
    static const std::map<std::string, QStringList> columns = {
        {CallStackTab,
         {"address", "relative address", "module", "unit", "line", "relative line", "function"}},
        {"modules", {"handle", "file name", "version", "path"}},
        {"processes", {"id", "file name", "priority", "path"}},
        {"cpu registers", {"register", "content"}},
        {"stack dump", {"address", "data as hexadecimal", "data as characters"}},
        {"disassembling", {"line", "address", "code", "comment"}}};
    return columns;
}

bool NotFilled(const std::string& content) {
    return content.starts_with(">> will be calculated soon") ||
           content.find("internal error") != std::string::npos;
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(std::move(line));
    }
    return lines;
}

QTreeWidget* ColumnView(const QStringList& headers) {
    auto* view = new QTreeWidget;
    view->setHeaderLabels(headers);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAlternatingRowColors(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return view;
}

void AddRow(QTreeWidget& view, const std::vector<std::string>& cells) {
    QStringList texts;
    for (const std::string& cell : cells) {
        texts << QString::fromStdString(cell);
    }
    new QTreeWidgetItem(&view, texts);
}

void AddColumns(QTreeWidget& view, const std::string& section, const std::string& content) {
    const auto count = static_cast<std::size_t>(view.columnCount());
    for (const auto& row : SectionRows(section, LinesOf(content), count)) {
        AddRow(view, row);
    }
}

void FitColumns(QTreeWidget& view) {
    for (int column = 0; column + 1 < view.columnCount(); ++column) {
        view.resizeColumnToContents(column);
    }
}

QWidget* PlainView(const std::string& content) {
    auto* view = new QPlainTextEdit(QString::fromStdString(content));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return view;
}

QWidget* GeneralView(const ReportTextFields& fields) {
    QTreeWidget* view = ColumnView({"description", "value"});
    for (const auto& [name, content] : fields.Header) {
        AddRow(*view, {name, content});
    }
    FitColumns(*view);
    return view;
}

// Every thread section under ">> " and its name; a section not filled yet as its text.
QWidget* CallStackView(const ReportTextFields& fields) {
    QTreeWidget* view = ColumnView(ColumnsBySection().at(CallStackTab));
    for (const auto& [name, content] : fields.Sections) {
        if (!IsThreadSection(name)) {
            continue;
        }
        AddRow(*view, {">> " + name});
        if (NotFilled(content)) {
            for (const std::string& line : LinesOf(content)) {
                AddRow(*view, {line});
            }
        } else {
            AddColumns(*view, CallStackTab, content);
        }
    }
    FitColumns(*view);
    return view;
}

QWidget* SectionView(const std::string& name, const std::string& content) {
    const auto columns = ColumnsBySection().find(name);
    if (columns == ColumnsBySection().end() || NotFilled(content)) {
        return PlainView(content);
    }
    QTreeWidget* view = ColumnView(columns->second);
    AddColumns(*view, name, content);
    FitColumns(*view);
    return view;
}

}  // namespace

std::vector<std::string> DetailsTabNames(const std::vector<std::string>& sectionNames) {
    const auto threads = std::count_if(sectionNames.begin(), sectionNames.end(), IsThreadSection);
    std::vector<std::string> names = {GeneralTab, threads > 1 ? "call stacks" : CallStackTab};
    for (const std::string& section : sectionNames) {
        if (!IsThreadSection(section)) {
            names.push_back(TabNameOf(section));
        }
    }
    return names;
}

DetailsView::DetailsView(QWidget* parent) : QTabWidget(parent) {}

void DetailsView::ShowReport(const std::string& report) {
    if (report == m_shown && count() > 0) {
        return;
    }
    m_shown = report;
    const int current = currentIndex();
    while (count() > 0) {
        QWidget* page = widget(0);
        removeTab(0);
        delete page;
    }
    const ReportTextFields fields = ReadReportText(report);
    std::vector<std::string> sectionNames;
    for (const auto& section : fields.Sections) {
        sectionNames.push_back(section.first);
    }
    const std::vector<std::string> tabNames = DetailsTabNames(sectionNames);
    addTab(GeneralView(fields), QString::fromStdString(tabNames[0]));
    addTab(CallStackView(fields), QString::fromStdString(tabNames[1]));
    std::size_t tab = 2;
    for (const auto& [name, content] : fields.Sections) {
        if (!IsThreadSection(name)) {
            addTab(SectionView(name, content), QString::fromStdString(tabNames[tab++]));
        }
    }
    setCurrentIndex(std::clamp(current, 0, count() - 1));
}

}  // namespace kestrix
