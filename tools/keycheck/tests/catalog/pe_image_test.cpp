// The parts of a PE image its Authenticode hash covers, on images of the tests' own making: the
// checksum and the certificate table's entry and data left out, sections in file order, the data
// after the last section kept; and headers that point outside the file refused.
#include "tools/keycheck/catalog/pe_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {
void Put(std::string& bytes, std::size_t at, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A PE32 image: e_lfanew 0x80, two sections (the second placed first in the file when swapped),
// headers 0x200 bytes, sections of 0x200 and 0x100 bytes, then tail bytes and a certificate
// table of certificate bytes.
struct Image {
    std::string bytes;
    std::uint64_t checksum, certificateEntry;
};

Image MakeImage(bool swapped, std::size_t tail, std::size_t certificate, bool plus = false) {
    const std::size_t pe = 0x80, optional = pe + 24;
    const std::size_t optionalSize = plus ? 240 : 224, table = optional + optionalSize;
    std::string bytes(0x200 + 0x200 + 0x100 + tail + certificate, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    Put(bytes, 0x3C, pe, 4);
    bytes.replace(pe, 4, std::string("PE\0\0", 4));
    Put(bytes, pe + 4 + 2, 2, 2);              // NumberOfSections
    Put(bytes, pe + 4 + 16, optionalSize, 2);  // SizeOfOptionalHeader
    Put(bytes, optional, plus ? 0x20B : 0x10B, 2);
    Put(bytes, optional + 60, 0x200, 4);              // SizeOfHeaders
    Put(bytes, optional + 64, 0xDEADBEEF, 4);         // CheckSum
    Put(bytes, optional + (plus ? 108 : 92), 16, 4);  // NumberOfRvaAndSizes
    const std::size_t entry = optional + (plus ? 112 : 96) + 8 * 4;
    if (certificate > 0) {
        Put(bytes, entry, bytes.size() - certificate, 4);
        Put(bytes, entry + 4, certificate, 4);
    }
    const std::size_t first = swapped ? 0x400 : 0x200, second = swapped ? 0x200 : 0x300;
    Put(bytes, table + 16, 0x100, 4);  // section 1: 0x100 bytes
    Put(bytes, table + 20, first, 4);
    Put(bytes, table + 40 + 16, 0x200, 4);  // section 2: 0x200 bytes
    Put(bytes, table + 40 + 20, second, 4);
    return Image{bytes, optional + 64, entry};
}

std::vector<std::pair<std::uint64_t, std::uint64_t>> RangesOf(const std::string& bytes) {
    std::vector<ByteRange> ranges;
    std::string why;
    EXPECT_TRUE(PeImageRanges(bytes, bytes.size(), ranges, why)) << why;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> pairs;
    for (const ByteRange& range : ranges)
        pairs.emplace_back(range.begin, range.end);
    return pairs;
}

using Pairs = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

TEST(PeImageTest, TheHashLeavesOutTheChecksumAndTheCertificateTable) {
    // 0x80 + 24 = 0x98 is the optional header: the checksum at 0xD8, the certificate entry at
    // 0x98 + 96 + 32 = 0x118.
    const Image image = MakeImage(false, 0x40, 0x30);
    EXPECT_EQ(image.checksum, 0xD8u);
    EXPECT_EQ(image.certificateEntry, 0x118u);
    EXPECT_EQ(RangesOf(image.bytes), (Pairs{{0, 0xD8},
                                            {0xDC, 0x118},
                                            {0x120, 0x200},
                                            {0x200, 0x300},
                                            {0x300, 0x500},
                                            {0x500, 0x540}}));
    EXPECT_TRUE(IsPeImage(image.bytes));
    EXPECT_FALSE(IsPeImage("MZ" + std::string(100, '\0')));
}

TEST(PeImageTest, SectionsAreHashedInFileOrderAndPe32PlusHasItsOwnOffsets) {
    const Image swapped = MakeImage(true, 0, 0);
    EXPECT_EQ(RangesOf(swapped.bytes),
              (Pairs{{0, 0xD8}, {0xDC, 0x118}, {0x120, 0x200}, {0x200, 0x400}, {0x400, 0x500}}));
    const Image plus = MakeImage(false, 0, 0, true);
    // PE32+: the directories start 16 bytes further in, at 0x98 + 112.
    EXPECT_EQ(plus.certificateEntry, 0x128u);
    EXPECT_EQ(RangesOf(plus.bytes)[1], (std::make_pair<std::uint64_t, std::uint64_t>(0xDC, 0x128)));
}

TEST(PeImageTest, HeadersThatPointOutsideTheFileAreRefused) {
    const struct {
        const char* what;
        std::size_t at;
        std::uint64_t value;
        int size;
        const char* why;
    } rows[] = {
        {"section past the end", 0x98 + 224 + 20, 0x10000, 4,
         "a section's raw data lies past the end of the file"},
        {"certificate table past the end", 0x118, 0x590, 4,
         "the certificate table lies past the end of the file"},
        {"SizeOfHeaders past the end", 0x98 + 60, 0x100000, 4,
         "SizeOfHeaders lies outside the file"},
        {"e_lfanew past the end", 0x3C, 0x7FFFFFF0, 4, "no PE header"},
        {"an unknown optional header", 0x98, 0x107, 2,
         "an optional header of neither PE32 nor PE32+"},
        {"too many sections", 0x86, 1000, 2,
         "the optional header or the section table runs past the headers read"},
    };
    for (const auto& row : rows) {
        Image image = MakeImage(false, 0, 0x30);
        Put(image.bytes, row.at, row.value, row.size);
        std::vector<ByteRange> ranges;
        std::string why;
        EXPECT_FALSE(PeImageRanges(image.bytes, image.bytes.size(), ranges, why)) << row.what;
        EXPECT_EQ(why, row.why) << row.what;
    }
}
}  // namespace
