// \brief The error hierarchy that every subsystem raises: an exception carries the text that the
// failure box shows, and its class says what kind of failure it was.
#pragma once

#include <stdexcept>
#include <string>

namespace gatool {

// Root of every failure the tool reports. what() is the message shown to the operator.
class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Floating-point faults. The hardware does not trap on this platform, so the arithmetic helpers in
// float_faults.h detect each fault where it happens and raise one of these.
class EMathError : public Exception {
  public:
    using Exception::Exception;
};

class EInvalidOp : public EMathError {
  public:
    EInvalidOp() : EMathError("Invalid floating point operation") {}
};

class EZeroDivide : public EMathError {
  public:
    EZeroDivide() : EMathError("Floating point division by zero") {}
};

class EOverflow : public EMathError {
  public:
    EOverflow() : EMathError("Floating point overflow") {}
};

// Text that does not convert (number text, dates, patterns).
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// An input file whose content the readers cannot take without losing or inventing data.
class EFileFormatError : public Exception {
  public:
    using Exception::Exception;
};

}  // namespace gatool
