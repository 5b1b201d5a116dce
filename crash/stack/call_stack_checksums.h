// \brief The call-stack checksums, which identify a failure independent of where modules are
// loaded: the failure location's value, the crashed thread's chain of values, and that chain
// extended by the other threads' chains.
#pragma once

#include <cstdint>
#include <string_view>

#include "crash/stack/stack_item.h"

namespace kestrix {

// The plain table-driven CRC-32 update (reflected polynomial 0xEDB88320) without initial or
// final inversion, starting from crc.
std::uint32_t UpdatePlainCrc32(std::uint32_t crc, std::string_view bytes);

// An item's value: its address (relative to its module, so that it does not change with where the
// module is loaded) when it lacks a procedure start, module or procedure name; otherwise its offset
// from the procedure start updated with the CRCs of the lower-case module, unit (when there is one)
// and procedure names.
std::uint32_t CallStackItemValue(const TStackItem& item);

// Updates crc with the 4 bytes of value, least significant first.
std::uint32_t ChainValue(std::uint32_t crc, std::uint32_t value);

struct CallStackChecksums {
    std::uint32_t Location = 0;  // the first listed item's value
    std::uint32_t Chain = 0;     // starts as Location, chained with every further item's value
};

// The checksums of one thread's listed items; both 0 for an empty list.
CallStackChecksums ComputeCallStackChecksums(const TStackTrace& items);

// Checksum 3 of all stacks: it starts as the crashed thread's chain and is extended, thread by
// thread, by each further thread's own chain, but only by a thread that has a listed item with a
// line number.
std::uint32_t ExtendAllStacksChecksum(std::uint32_t checksum, const TStackTrace& threadItems);

}  // namespace kestrix
