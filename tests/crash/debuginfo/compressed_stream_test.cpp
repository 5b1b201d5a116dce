// \brief The compressed stream: length and CRC-32 header, raw deflate, stored data, damage.
#include "crash/debuginfo/compressed_stream.h"

#include <gtest/gtest.h>

#include <random>

#include "crash/debuginfo/packed_stream.h"

namespace kestrix {
namespace {

std::string RandomBytes(std::size_t size) {
    std::mt19937 generator(7);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = char(generator() & 0xFF);
    }
    return bytes;
}

TEST(CompressedStream, DeflatesRepetitiveDataAndInflatesItBack) {
    std::string plain;
    for (int i = 0; i < 2000; ++i) {
        plain += "unit_" + std::to_string(i % 17);
    }
    const std::string compressed = CompressString(plain);
    EXPECT_LT(compressed.size(), plain.size() / 4);
    EXPECT_EQ(ReadLittleEndian32(compressed, 0), plain.size());
    EXPECT_EQ(CompressedStreamCrc(compressed), Crc32(plain));
    EXPECT_EQ(DecompressString(compressed), plain);
}

TEST(CompressedStream, StoresDataThatDeflateCannotShrink) {
    const std::string plain = RandomBytes(4096);
    const std::string compressed = CompressString(plain);
    EXPECT_EQ(compressed.substr(CompressedStreamHeaderSize), plain);
    EXPECT_EQ(DecompressString(compressed), plain);
}

TEST(CompressedStream, GivesNothingForDamage) {
    const std::string plain(3000, 'x');
    const std::string good = CompressString(plain);
    const std::string stored = CompressString(RandomBytes(100));
    struct Case {
        const char* What;
        std::string Data;
    };
    std::string wrongCrc = good;
    wrongCrc[8] = char(wrongCrc[8] ^ 1);
    std::string storedWrongCrc = stored;
    storedWrongCrc[20] = char(storedWrongCrc[20] ^ 1);
    std::string longer = good;
    longer[0] = char(longer[0] + 1);
    const Case cases[] = {
        {"header cut", good.substr(0, 11)},
        {"deflate data cut", good.substr(0, good.size() - 2)},
        {"CRC of deflated data differs", wrongCrc},
        {"stored byte changed", storedWrongCrc},
        {"length larger than the data inflates to", longer},
        {"length beyond any deflate ratio", std::string("\xff\xff\xff\xff\0\0\0\0\0\0\0\0x", 13)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(DecompressString(c.Data), "");
    }
}

}  // namespace
}  // namespace kestrix
