// The structural check of a 98/Me registry file's key navigation record, before libcreg reads it.
#include "tools/keycheck/creg/creg_file.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {
const std::size_t kHeaderSize = 0x20;
const std::size_t kNavigationAt = 0x20;
const std::uint32_t kEntrySize = 28;
const std::uint32_t kNone = 0xFFFFFFFF;
// Offsets in the entries are from the start of the record; libcreg reads entries from the
// record's header on, in the record's size less its 32-byte header.
const std::uint32_t kRootEntry = 0x20;
const std::size_t kSubkeyAt = 16;
const std::size_t kNextAt = 20;

std::uint32_t Dword(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}
}  // namespace

bool IsCregFile(const std::string& head) {
    return head.compare(0, 4, "CREG") == 0;
}

std::uint64_t CregNavigationBytes(const std::string& head, std::uint64_t fileSize) {
    const std::uint64_t headers = kNavigationAt + kHeaderSize;
    if (head.size() < headers)
        return std::min<std::uint64_t>(fileSize, headers);
    return std::min<std::uint64_t>(fileSize, kNavigationAt + Dword(head, kNavigationAt + 4));
}

bool CregNavigationIsSound(const std::string& bytes, std::uint64_t fileSize, std::string& why) {
    if (bytes.size() < kNavigationAt + kHeaderSize || !IsCregFile(bytes) ||
        bytes.compare(kNavigationAt, 4, "RGKN") != 0) {
        why = "no key navigation record (RGKN) after the header: cut short or damaged";
        return false;
    }
    const std::uint32_t size = Dword(bytes, kNavigationAt + 4);
    if (size < kHeaderSize || size > bytes.size() - kNavigationAt ||
        size > fileSize - kNavigationAt) {
        why = "the key navigation record runs past the end of the file";
        return false;
    }
    const std::uint32_t readable = size - static_cast<std::uint32_t>(kHeaderSize);
    const auto inside = [&](std::uint32_t offset) {
        return offset >= kRootEntry && offset <= readable && readable - offset >= kEntrySize;
    };
    if (!inside(kRootEntry)) {
        why = "the key navigation record holds no root key";
        return false;
    }
    // Entries lie 28 bytes apart within each 4 KiB page of the record (98's own files show it),
    // so an offset is told apart by itself; a chain that meets one twice loops.
    std::vector<bool> seen(readable, false);
    std::vector<std::uint32_t> pending{kRootEntry};
    while (!pending.empty()) {
        std::uint32_t entry = pending.back();
        pending.pop_back();
        // The entry and its chain of next siblings.
        for (; entry != kNone; entry = Dword(bytes, kNavigationAt + entry + kNextAt)) {
            if (!inside(entry) || seen[entry]) {
                why = "a key's subkey or sibling offset points outside the key navigation record "
                      "or back to a key already met";
                return false;
            }
            seen[entry] = true;
            const std::uint32_t subkey = Dword(bytes, kNavigationAt + entry + kSubkeyAt);
            if (subkey != kNone)
                pending.push_back(subkey);
            if (entry == kRootEntry)
                break;  // the root has no siblings
        }
    }
    return true;
}
