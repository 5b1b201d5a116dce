// \brief Fuzz target of a module file as a source of debug information: any bytes as the module's
// file (its ELF headers, the embedded section, the symbol table) must give information or none,
// never a crash, a hang or a read beyond the file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "crash/debuginfo/map_file_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int file = ::memfd_create("module", MFD_CLOEXEC);
    if (file < 0 || ::write(file, data, size) != ssize_t(size)) {
        return 0;
    }
    const kestrix::TMapFile map =
        kestrix::LoadModuleMapFile("/proc/self/fd/" + std::to_string(file), 0, 0);
    if (map.Valid()) {
        (void)map.GetMapFileInfos(map.BaseOfCode());
        (void)map.GetMapFileInfos(map.TopOfCode() - 1);
    }
    ::close(file);
    return 0;
}
