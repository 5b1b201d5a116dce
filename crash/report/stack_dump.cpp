// \brief The stack dump lines.
#include "crash/report/stack_dump.h"

#include <array>
#include <span>

#include "crash/report/hex_text.h"
#include "crash/report/thread_section_texts.h"
#include "crash/stack/guarded_read.h"
#include "crash/stack/memory_regions.h"

namespace kestrix {
namespace {

std::string DumpLine(std::uintptr_t address, std::span<const std::byte> bytes) {
    std::string line = HexAddress(address) + "  ";
    std::string characters;
    for (std::size_t i = 0; i < StackDumpLineBytes; ++i) {
        if (i == StackDumpLineBytes / 2)
            line += i < bytes.size() ? "- " : "  ";
        if (i >= bytes.size()) {
            line += "   ";
            continue;
        }
        const auto value = static_cast<unsigned char>(bytes[i]);
        line += HexDigits(value, 2) + ' ';
        characters += value >= 33 && value <= 126 ? static_cast<char>(value) : '.';
    }
    return line + ' ' + characters;
}

}  // namespace

std::string GetStackDump(std::uintptr_t stackPointer) {
    const auto region = TMemoryRegions::Snapshot().Find(stackPointer);
    if (!region || !StartTryRead())
        return std::string(StackNotAccessible);
    std::string text;
    std::uintptr_t address = stackPointer;
    for (std::size_t line = 0; line < StackDumpLines && address < region->End; ++line) {
        std::array<std::byte, StackDumpLineBytes> bytes{};
        const std::size_t wanted =
            std::min<std::uintptr_t>(StackDumpLineBytes, region->End - address);
        const std::size_t read = TryReadPrefix(address, std::span{bytes}.first(wanted));
        if (read == 0 && line == 0)
            return std::string(StackNotAccessible);
        if (line > 0)
            text += "\r\n";
        text += DumpLine(address, std::span{bytes}.first(read));
        if (read < wanted)
            break;
        address += StackDumpLineBytes;
    }
    return text;
}

}  // namespace kestrix
