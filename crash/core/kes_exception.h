// \brief The reporter's own exception classes: KesException for failures the reporter turns into
// an object itself (a fatal run-time message, an abnormal termination), EAbort for a failure that
// is not reported, and the EExternal family of the operating-system faults (signals).
#pragma once

#include <exception>
#include <string>

namespace kestrix {

class KesException : public std::exception {
  public:
    explicit KesException(std::string message) : m_message(std::move(message)) {}
    const char* what() const noexcept override { return m_message.c_str(); }
    // Failure handling marks an object it has handled by replacing the message.
    void SetMessage(std::string message) { m_message = std::move(message); }

  private:
    std::string m_message;
};

// The language runtime's terminate path.
class BcbTermination : public KesException {
  public:
    BcbTermination() : KesException("Abnormal program termination") {}
};

// Raised to end an operation quietly: never reported (by name, so a program's own EAbort counts as
// well).
class EAbort : public KesException {
  public:
    explicit EAbort(std::string message = "Operation aborted") : KesException(std::move(message)) {}
};

// Faults of the signal path.
class EExternal : public KesException {
  public:
    using KesException::KesException;
};
class EAccessViolation : public EExternal {
  public:
    using EExternal::EExternal;
};
class EStackOverflow : public EExternal {
  public:
    using EExternal::EExternal;
};
class EPrivilege : public EExternal {
  public:
    using EExternal::EExternal;
};
class EDivByZero : public EExternal {
  public:
    using EExternal::EExternal;
};
class EExternalException : public EExternal {
  public:
    using EExternal::EExternal;
};

}  // namespace kestrix
