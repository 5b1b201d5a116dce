// \brief The debug information of one module as offsets from its base of code: the units'
// segments, the public symbols (procedures) and the line table, each sorted by offset. Names live
// in one pool so that loading a module allocates a few blocks, not one per name; a content read
// from a plain stream keeps that stream as its pool, the names where the stream holds them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

struct PooledName {
    std::uint32_t Offset = 0;
    std::uint32_t Length = 0;
};

struct MapSegment {
    std::uint32_t Start = 0;
    std::uint32_t Length = 0;
    PooledName Unit;
    bool HasLines = false;
};

struct MapPublic {
    std::uint32_t Address = 0;
    PooledName Name;
};

struct MapLine {
    std::uint32_t Address = 0;
    std::int32_t Line = 0;
};

struct MapFileContent {
    std::vector<MapSegment> Segments;
    std::vector<MapPublic> Publics;
    std::vector<MapLine> Lines;
    std::optional<std::uint32_t> EntryPoint;
    // Without names: segments carry their line flag, publics only addresses.
    bool Minimal = false;
    std::string NamePool;

    PooledName AddName(std::string_view name);
    std::string_view Name(PooledName name) const {
        return std::string_view(NamePool).substr(name.Offset, name.Length);
    }

    // Sorts the three tables by offset; a line entry at the same offset as a later one gives way
    // to it (the last row for an address is the one that describes its code).
    void Sort();
};

}  // namespace kestrix
