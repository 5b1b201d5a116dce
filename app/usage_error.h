// \brief The error of a command line that cannot be run.
#pragma once

#include "base/exceptions.h"

namespace gatool {

// A command line that cannot be run; the message is one line.
class UsageError : public Exception {
  public:
    using Exception::Exception;
};

}  // namespace gatool
