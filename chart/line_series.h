// \brief TLineSeries: the series kind that every chart of the tool uses; its pointers start hidden.
#pragma once

#include "chart/custom_series.h"

namespace gatool {

class TLineSeries : public TCustomSeries {
  public:
    TLineSeries() {
        TSeriesPointer pointer = Pointer();
        pointer.Visible = false;
        SetPointer(pointer);
    }
};

}  // namespace gatool
