// The parts of a PE image its Authenticode hash covers.
#include "tools/keycheck/catalog/pe_image.h"

#include <algorithm>

namespace {
// Offsets of the PE format ("PE Format", learn.microsoft.com/windows/win32/debug/pe-format).
const std::uint64_t kLfanewAt = 0x3C;
const std::uint64_t kCoffSize = 20;  // after the 4-byte signature
const std::uint64_t kSectionCountAt = 2;
const std::uint64_t kOptionalSizeAt = 16;
const std::uint64_t kChecksumAt = 64;     // in the optional header, PE32 and PE32+ alike
const std::uint64_t kHeadersSizeAt = 60;  // SizeOfHeaders
const std::uint16_t kPe32 = 0x10B;
const std::uint16_t kPe32Plus = 0x20B;
const std::uint64_t kSectionEntry = 40;
const std::uint64_t kRawSizeAt = 16;
const std::uint64_t kRawPointerAt = 20;
const std::uint64_t kCertificateEntry = 4;  // the data directory's fifth entry
const std::uint64_t kMaxSections = 96;      // the loader's own limit

std::uint64_t Little(const std::string& bytes, std::uint64_t at, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value =
            (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::uint64_t>(i)]);
    return value;
}

// The PE header's place, or 0 when head holds none.
std::uint64_t PeHeaderAt(const std::string& head) {
    if (head.size() < kLfanewAt + 4 || head.compare(0, 2, "MZ") != 0)
        return 0;
    const std::uint64_t at = Little(head, kLfanewAt, 4);
    if (at + 4 + kCoffSize + 2 > head.size() || head.compare(at, 4, std::string("PE\0\0", 4)) != 0)
        return 0;
    return at;
}
}  // namespace

std::uint64_t PeHeadNeeded(const std::string& head, std::uint64_t fileSize) {
    const std::uint64_t first = std::min<std::uint64_t>(fileSize, 4096);
    if (head.size() < first)
        return first;
    const std::uint64_t at = PeHeaderAt(head);
    if (at == 0)
        return head.size();
    const std::uint64_t coff = at + 4;
    const std::uint64_t sections = Little(head, coff + kSectionCountAt, 2);
    const std::uint64_t optional = Little(head, coff + kOptionalSizeAt, 2);
    return std::min(fileSize, coff + kCoffSize + optional + kSectionEntry * sections);
}

bool IsPeImage(const std::string& head) {
    return PeHeaderAt(head) != 0;
}

bool PeImageRanges(const std::string& head, std::uint64_t fileSize, std::vector<ByteRange>& ranges,
                   std::string& why) {
    ranges.clear();
    const std::uint64_t at = PeHeaderAt(head);
    if (at == 0) {
        why = "no PE header";
        return false;
    }
    const std::uint64_t coff = at + 4;
    const std::uint64_t optional = coff + kCoffSize;
    const std::uint64_t optionalSize = Little(head, coff + kOptionalSizeAt, 2);
    const std::uint64_t sectionCount = Little(head, coff + kSectionCountAt, 2);
    const std::uint64_t table = optional + optionalSize;
    if (table + kSectionEntry * sectionCount > head.size() || optionalSize < kChecksumAt + 4) {
        why = "the optional header or the section table runs past the headers read";
        return false;
    }
    const std::uint64_t magic = Little(head, optional, 2);
    if (magic != kPe32 && magic != kPe32Plus) {
        why = "an optional header of neither PE32 nor PE32+";
        return false;
    }
    if (sectionCount > kMaxSections) {
        why = "more sections than the loader takes";
        return false;
    }
    const std::uint64_t countAt = optional + (magic == kPe32 ? 92 : 108);
    const std::uint64_t directories = optional + (magic == kPe32 ? 96 : 112);
    const std::uint64_t entries = countAt + 4 <= table ? Little(head, countAt, 4) : 0;
    const std::uint64_t headersSize = Little(head, optional + kHeadersSizeAt, 4);
    const std::uint64_t checksum = optional + kChecksumAt;
    if (headersSize > fileSize || headersSize < checksum + 4) {
        why = "SizeOfHeaders lies outside the file";
        return false;
    }
    std::uint64_t certificateAt = 0, certificateSize = 0;
    const bool hasCertificateEntry = entries > kCertificateEntry &&
                                     directories + 8 * (kCertificateEntry + 1) <= table &&
                                     directories + 8 * (kCertificateEntry + 1) <= headersSize;
    const std::uint64_t entry = directories + 8 * kCertificateEntry;
    if (hasCertificateEntry) {
        certificateAt = Little(head, entry, 4);
        certificateSize = Little(head, entry + 4, 4);
        if (certificateSize != 0 &&
            (certificateAt > fileSize || certificateSize > fileSize - certificateAt)) {
            why = "the certificate table lies past the end of the file";
            return false;
        }
    }
    ranges.push_back(ByteRange{0, checksum});
    if (hasCertificateEntry) {
        ranges.push_back(ByteRange{checksum + 4, entry});
        ranges.push_back(ByteRange{entry + 8, headersSize});
    } else {
        ranges.push_back(ByteRange{checksum + 4, headersSize});
    }
    std::vector<ByteRange> sections;
    for (std::uint64_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t row = table + kSectionEntry * i;
        const std::uint64_t size = Little(head, row + kRawSizeAt, 4);
        const std::uint64_t pointer = Little(head, row + kRawPointerAt, 4);
        if (size == 0)
            continue;
        if (pointer > fileSize || size > fileSize - pointer) {
            why = "a section's raw data lies past the end of the file";
            return false;
        }
        sections.push_back(ByteRange{pointer, pointer + size});
    }
    std::stable_sort(sections.begin(), sections.end(),
                     [](const ByteRange& a, const ByteRange& b) { return a.begin < b.begin; });
    std::uint64_t hashed = headersSize;
    for (const ByteRange& section : sections) {
        ranges.push_back(section);
        hashed += section.end - section.begin;
    }
    // What follows: the data after the last section, up to the certificate table at the end.
    const std::uint64_t end = fileSize - certificateSize;
    if (end > hashed)
        ranges.push_back(ByteRange{hashed, end});
    ranges.erase(std::remove_if(ranges.begin(), ranges.end(),
                                [](const ByteRange& r) { return r.end <= r.begin; }),
                 ranges.end());
    return true;
}
