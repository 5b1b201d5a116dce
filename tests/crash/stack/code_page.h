// A test fixture: a readable page for encoded machine code, with an address cell inside it and an
// inaccessible page behind it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "crash/stack/code_disassembler.h"
#include "crash/stack/guarded_read.h"
#include "tests/crash/stack/guarded_pages.h"

namespace kestrix {

inline constexpr std::size_t CellOffset = 0x800;
inline constexpr std::uint64_t CellValue = 0x00007f1234567890;

using Bytes = std::vector<std::uint8_t>;

// A readable page for the code under test with an address cell inside it, and an inaccessible
// page behind it.
class CodePage : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartTryRead());
        std::memcpy(m_page + CellOffset, &CellValue, sizeof CellValue);
    }

    std::uintptr_t Start() const { return reinterpret_cast<std::uintptr_t>(m_page); }
    std::uintptr_t Cell() const { return Start() + CellOffset; }

    // Writes the instructions one after the other from offset; an instruction flagged as
    // RIP-relative gets its last four bytes pointed at the cell. Returns their addresses.
    std::vector<std::uintptr_t> Place(std::size_t offset,
                                      const std::vector<std::pair<Bytes, bool>>& instructions) {
        std::vector<std::uintptr_t> addresses;
        for (auto [bytes, ripRelative] : instructions) {
            const std::uintptr_t address = Start() + offset;
            if (ripRelative) {
                const auto disp =
                    static_cast<std::int32_t>(static_cast<std::int64_t>(Cell()) -
                                              static_cast<std::int64_t>(address + bytes.size()));
                std::memcpy(bytes.data() + bytes.size() - 4, &disp, 4);
            }
            std::memcpy(m_page + offset, bytes.data(), bytes.size());
            addresses.push_back(address);
            offset += bytes.size();
        }
        return addresses;
    }

    GuardedPages m_pages{GuardedPages::InaccessibleAbove};
    std::uint8_t* m_page = m_pages.Readable();
    CodeDisassembler m_disassembler;
};

inline constexpr std::uint8_t Disp = 0;  // four bytes patched to reach the cell

}  // namespace kestrix
