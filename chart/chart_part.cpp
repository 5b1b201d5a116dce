// \brief Invalidation by the parts of a chart; see chart_part.h.
#include "chart/chart_part.h"

#include "chart/chart_model.h"

namespace gatool {

void ChartPart::InvalidateChart() const {
    if (m_chart != nullptr) {
        m_chart->Invalidate();
    }
}

}  // namespace gatool
