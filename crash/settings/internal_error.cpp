// \brief Routing of the reporter's own error messages.
#include "crash/settings/internal_error.h"

#include <cstdio>
#include <mutex>

namespace kestrix {
namespace {

std::mutex& PresenterGuard() {
    static std::mutex guard;
    return guard;
}

InternalErrorPresenter& Presenter() {
    static InternalErrorPresenter presenter;
    return presenter;
}

}  // namespace

InternalErrorPresenter SetInternalErrorPresenter(InternalErrorPresenter presenter) {
    const std::lock_guard lock(PresenterGuard());
    std::swap(Presenter(), presenter);
    return presenter;
}

void ShowInternalError(std::string_view text) {
    InternalErrorPresenter presenter;
    {
        const std::lock_guard lock(PresenterGuard());
        presenter = Presenter();
    }
    if (presenter) {
        presenter(InternalErrorTitle, text);
    } else {
        WriteInternalError(InternalErrorTitle, text);
    }
}

void WriteInternalError(std::string_view title, std::string_view text) {
    std::fprintf(stderr, "%.*s: %.*s\n", int(title.size()), title.data(), int(text.size()),
                 text.data());
}

}  // namespace kestrix
