// \brief The plain values of the report header that come from the failure object and the running
// reporter: time, up time, version, the exception's number, class and message, the plug-ins that
// add a header field.
#pragma once

#include <memory>

#include "crash/report/report_header.h"

namespace kestrix {

class IKXException;

// Each call counts one more bug report of this process: the first gets number 1.
THeaderValues FailureHeaderValues(const std::shared_ptr<IKXException>& exception);

}  // namespace kestrix
