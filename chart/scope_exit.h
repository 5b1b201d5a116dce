// \brief ScopeExit: runs a function when the scope that holds it is left, by return or by an
// exception, so that state set for the length of a call is restored however the call ends.
#pragma once

#include <utility>

namespace gatool {

template <typename Function>
class [[nodiscard]] ScopeExit {
  public:
    explicit ScopeExit(Function function) : m_function(std::move(function)) {}
    ~ScopeExit() { m_function(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

  private:
    Function m_function;
};

}  // namespace gatool
