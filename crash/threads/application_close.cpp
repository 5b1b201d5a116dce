// \brief Closing without finalisation.
#include "crash/threads/application_close.h"

#include <unistd.h>

namespace kestrix {

void CloseApplication() {
    _exit(CloseExitCode);
}

}  // namespace kestrix
