// \brief Call-stack checksums on zlib's CRC-32: zlib inverts before and after its update, so the
// plain update is zlib's under inversion.
#include "crash/stack/call_stack_checksums.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace kestrix {
namespace {

std::uint32_t UpdateLowerCase(std::uint32_t crc, std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return UpdatePlainCrc32(crc, lower);
}

}  // namespace

std::uint32_t UpdatePlainCrc32(std::uint32_t crc, std::string_view bytes) {
    const auto* data = reinterpret_cast<const Bytef*>(bytes.data());
    return ~static_cast<std::uint32_t>(
        crc32_z(~crc & 0xffffffffu, data, static_cast<z_size_t>(bytes.size())));
}

std::uint32_t CallStackItemValue(const TStackItem& item) {
    if (!item.HasProcedureStart || item.ModuleFileName.empty() || item.ProcedureName.empty())
        return static_cast<std::uint32_t>(item.CodeAddress - item.ModuleHandle);
    std::uint32_t value = static_cast<std::uint32_t>(item.ProcedureOffset);
    value = UpdateLowerCase(value, item.ModuleFileName);
    if (!item.UnitName.empty())
        value = UpdateLowerCase(value, item.UnitName);
    return UpdateLowerCase(value, item.ProcedureName);
}

std::uint32_t ChainValue(std::uint32_t crc, std::uint32_t value) {
    const std::array<char, 4> bytes{
        static_cast<char>(value & 0xff), static_cast<char>((value >> 8) & 0xff),
        static_cast<char>((value >> 16) & 0xff), static_cast<char>((value >> 24) & 0xff)};
    return UpdatePlainCrc32(crc, std::string_view(bytes.data(), bytes.size()));
}

CallStackChecksums ComputeCallStackChecksums(const TStackTrace& items) {
    CallStackChecksums checksums;
    if (items.empty())
        return checksums;
    checksums.Location = CallStackItemValue(items.front());
    checksums.Chain = checksums.Location;
    for (std::size_t i = 1; i < items.size(); ++i)
        checksums.Chain = ChainValue(checksums.Chain, CallStackItemValue(items[i]));
    return checksums;
}

std::uint32_t ExtendAllStacksChecksum(std::uint32_t checksum, const TStackTrace& threadItems) {
    const bool anyLine = std::any_of(threadItems.begin(), threadItems.end(),
                                     [](const TStackItem& item) { return item.Line > 0; });
    return anyLine ? ChainValue(checksum, ComputeCallStackChecksums(threadItems).Chain) : checksum;
}

}  // namespace kestrix
