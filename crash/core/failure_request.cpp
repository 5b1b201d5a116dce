// \brief The shared failure request's ownership.
#include "crash/core/failure_request.h"

namespace kestrix {

SharedFailureRequest::SharedFailureRequest(ExceptionValues values, bool waited)
    : m_values(std::move(values)),
      m_request{.Done = &m_done,
                .CallingThread = m_values.CrashedThread,
                .Values = &m_values,
                .Shared = this},
      m_holders(waited ? 2 : 1) {}

SharedFailureRequest* SharedFailureRequest::Make(ExceptionValues values, bool waited) {
    return new SharedFailureRequest(std::move(values), waited);
}

void SharedFailureRequest::Release() noexcept {
    if (m_holders.fetch_sub(1) == 1) {
        delete this;
    }
}

}  // namespace kestrix
