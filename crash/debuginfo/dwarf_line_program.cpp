// \brief The DWARF line-number state machine over ".debug_line".
#include "crash/debuginfo/dwarf_line_program.h"

#include <algorithm>
#include <vector>

#include "crash/debuginfo/packed_stream.h"

namespace kestrix {
namespace {

enum : std::uint8_t {
    LnsCopy = 1,
    LnsAdvancePc = 2,
    LnsAdvanceLine = 3,
    LnsConstAddPc = 8,
    LnsFixedAdvancePc = 9,
    LneEndSequence = 1,
    LneSetAddress = 2,
};

class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : m_bytes(bytes) {}

    bool AtEnd() const { return m_position == m_bytes.size(); }
    std::size_t Remaining() const { return m_bytes.size() - m_position; }

    std::uint64_t Fixed(std::size_t size) {
        Need(size);
        std::uint64_t value = 0;
        for (std::size_t i = size; i-- > 0;) {
            value = value << 8 | std::uint8_t(m_bytes[m_position + i]);
        }
        m_position += size;
        return value;
    }
    std::uint64_t Unsigned() {
        std::uint64_t value = 0;
        for (int shift = 0;; shift += 7) {
            const std::uint64_t byte = Fixed(1);
            if (shift < 64) {
                value |= (byte & 0x7F) << shift;
            }
            if ((byte & 0x80) == 0) {
                return value;
            }
        }
    }
    std::int64_t Signed() {
        std::uint64_t value = 0;
        int shift = 0;
        std::uint64_t byte = 0;
        do {
            byte = Fixed(1);
            if (shift < 64) {
                value |= (byte & 0x7F) << shift;
            }
            shift += 7;
        } while ((byte & 0x80) != 0);
        if (shift < 64 && (byte & 0x40) != 0) {
            value |= ~std::uint64_t(0) << shift;
        }
        return std::int64_t(value);
    }
    void Skip(std::uint64_t count) {
        Need(count);
        m_position += std::size_t(count);
    }
    ByteReader Part(std::uint64_t length) {
        Need(length);
        ByteReader part(m_bytes.substr(m_position, std::size_t(length)));
        m_position += std::size_t(length);
        return part;
    }

  private:
    void Need(std::uint64_t count) const {
        if (count > Remaining()) {
            throw DebugInfoFormatError("line program ends early");
        }
    }

    std::string_view m_bytes;
    std::size_t m_position = 0;
};

struct ProgramHeader {
    std::uint8_t MinimumInstructionLength = 1;
    std::int8_t LineBase = 0;
    std::uint8_t LineRange = 1;
    std::uint8_t OpcodeBase = 1;
    std::vector<std::uint8_t> StandardOpcodeLengths;
};

void RunProgram(ByteReader& program, const ProgramHeader& header, LineRows& rows) {
    std::uint64_t address = 0;
    std::int64_t line = 1;
    const auto emit = [&](bool end) { rows.Add(address, std::int32_t(line), end); };
    while (!program.AtEnd()) {
        const auto opcode = std::uint8_t(program.Fixed(1));
        if (opcode >= header.OpcodeBase) {
            const int adjusted = opcode - header.OpcodeBase;
            address += std::uint64_t(adjusted / header.LineRange) * header.MinimumInstructionLength;
            line += header.LineBase + adjusted % header.LineRange;
            emit(false);
        } else if (opcode == 0) {
            ByteReader extended = program.Part(program.Unsigned());
            const auto code = extended.AtEnd() ? 0 : std::uint8_t(extended.Fixed(1));
            if (code == LneEndSequence) {
                emit(true);
                address = 0;
                line = 1;
            } else if (code == LneSetAddress) {
                address = extended.Fixed(std::min<std::size_t>(extended.Remaining(), 8));
            }
        } else if (opcode == LnsCopy) {
            emit(false);
        } else if (opcode == LnsAdvancePc) {
            address += program.Unsigned() * header.MinimumInstructionLength;
        } else if (opcode == LnsAdvanceLine) {
            line += program.Signed();
        } else if (opcode == LnsConstAddPc) {
            address += std::uint64_t((255 - header.OpcodeBase) / header.LineRange) *
                       header.MinimumInstructionLength;
        } else if (opcode == LnsFixedAdvancePc) {
            address += program.Fixed(2);
        } else {
            for (std::uint8_t i = 0; i < header.StandardOpcodeLengths[opcode - 1]; ++i) {
                program.Unsigned();
            }
        }
    }
}

}  // namespace

void ReadDwarfLinePrograms(std::string_view debugLine, LineRows& rows) {
    ByteReader section(debugLine);
    while (!section.AtEnd()) {
        std::uint64_t length = section.Fixed(4);
        std::size_t offsetSize = 4;
        if (length == 0xFFFFFFFF) {
            length = section.Fixed(8);
            offsetSize = 8;
        }
        ByteReader unit = section.Part(length);
        const auto version = unit.Fixed(2);
        if (version < 2 || version > 5) {
            throw DebugInfoFormatError("line program of version " + std::to_string(version));
        }
        if (version >= 5) {
            unit.Skip(2);  // address and segment selector sizes
        }
        ByteReader rest = unit.Part(unit.Fixed(offsetSize));
        ProgramHeader header;
        header.MinimumInstructionLength = std::uint8_t(rest.Fixed(1));
        if (version >= 4) {
            rest.Skip(1);  // operations per instruction: 1 on x86-64
        }
        rest.Skip(1);  // default is_stmt
        header.LineBase = std::int8_t(rest.Fixed(1));
        header.LineRange = std::uint8_t(rest.Fixed(1));
        header.OpcodeBase = std::uint8_t(rest.Fixed(1));
        if (header.LineRange == 0 || header.OpcodeBase == 0) {
            throw DebugInfoFormatError("line program header without line range or opcode base");
        }
        for (int i = 1; i < header.OpcodeBase; ++i) {
            header.StandardOpcodeLengths.push_back(std::uint8_t(rest.Fixed(1)));
        }
        RunProgram(unit, header, rows);
    }
}

}  // namespace kestrix
