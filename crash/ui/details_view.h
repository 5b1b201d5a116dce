// \brief The failure box's details view: a tab control built from the report's sections, "general"
// with the header fields, "call stack" (or "call stacks") with every thread section, then one tab
// per further section; each in its columns, or as plain text where a section has none or is not
// filled yet.
#pragma once

#include <QTabWidget>
#include <string>

namespace kestrix {

class DetailsView : public QTabWidget {
  public:
    explicit DetailsView(QWidget* parent);

    // Rebuilds the tabs when the report differs from the one shown; the current tab stays.
    void ShowReport(const std::string& report);

  private:
    std::string m_shown;
};

// The tab names for the report's section names, in order.
std::vector<std::string> DetailsTabNames(const std::vector<std::string>& sectionNames);

}  // namespace kestrix
