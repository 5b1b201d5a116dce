// \brief The chain scoring of the stack walker: the value of the best path of links from one item
// towards another, down links when the other is deeper, up links otherwise. Each link adds weight
// by the certainty of its procedure and its line numbers; bit 62 of a value means that the path
// reaches the other item, bit 61 that every link on it names a procedure. A link's score is
// computed once and kept in the link, so the recursive scoring visits each link once.
#pragma once

#include <cstdint>
#include <optional>

#include "crash/stack/stack_links.h"

namespace kestrix {

inline constexpr std::uint64_t ChainStartValue = 0x1000000000000000;
inline constexpr std::uint64_t ReachedWithProcedure = 0x7000000000000000;
inline constexpr std::uint64_t ReachedWithoutProcedure = 0x5000000000000000;
inline constexpr std::uint64_t ChainReachesEnd = 0x4000000000000000;     // bit 62
inline constexpr std::uint64_t ChainAllProcedures = 0x2000000000000000;  // bit 61

// The value of the best path from item `from` towards item `to` (none: towards the outside, past
// index 0), marking each list's best link on the way. Links without another item are passed over,
// and so are links that lead past `to`: they cannot reach it along their direction, and turning
// back towards it from there would score a way round that is no chain of calls, and could run in
// a circle.
std::uint64_t BestPathValue(TInternalStackItems& items,
                            std::size_t from,
                            std::optional<std::size_t> to,
                            bool direct);

}  // namespace kestrix
