// The parts of a PE image its Authenticode hash covers: the whole file but the checksum, the
// certificate table's directory entry and the certificate table itself ("Windows Authenticode
// Portable Executable Signature Format", Calculating the PE Image Hash): the headers, each
// section's raw data in file order, and what follows the last section up to the certificate
// table.
//
// Thread rule: pure functions; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ByteRange {
    std::uint64_t begin;
    std::uint64_t end;  // one past the last byte
};

// How many of the file's first bytes PeImageRanges needs to see: enough for the DOS and PE
// headers, and for the section table where the headers say it lies.
std::uint64_t PeHeadNeeded(const std::string& head, std::uint64_t fileSize);

// Whether head (the file's first bytes, as many as PeHeadNeeded asks for) starts a PE image:
// "MZ", and "PE\0\0" where e_lfanew points.
bool IsPeImage(const std::string& head);

// The ranges of a PE image of fileSize bytes whose first bytes are head that its image hash
// covers, in order. False, with why, when the headers point outside the file or lie: Windows
// then takes no image hash of it, and neither does keycheck.
bool PeImageRanges(const std::string& head, std::uint64_t fileSize, std::vector<ByteRange>& ranges,
                   std::string& why);
