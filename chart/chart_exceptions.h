// \brief The errors raised by the chart component for property values it refuses.
#pragma once

#include "base/exceptions.h"

namespace gatool {

// An axis range end written on the wrong side of the other end.
class AxisException : public Exception {
  public:
    using Exception::Exception;
};

// A legend property outside its range.
class LegendException : public Exception {
  public:
    using Exception::Exception;
};

}  // namespace gatool
