// Text between UTF-16 and an ANSI code page, by the code page's own table.
//
// Code page 1252 is converted by its table here, as Windows has it: its five unassigned bytes
// 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand for U+0081 and so on, which the C library's CP1252
// rejects. The double-byte code pages go through the system: iconv on the host,
// MultiByteToWideChar and WideCharToMultiByte in the Windows build.
#include "tools/keycheck/text/code_page.h"

#include "sim/ansi_names.h"

#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#include <map>
#endif

namespace {
const std::uint32_t kReplacement = 0xFFFD;
const std::uint16_t k1252From80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::vector<std::uint32_t> CodePoints(const std::string& utf16) {
    std::vector<std::uint32_t> codes;
    auto unit = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(utf16[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(utf16[at + 1])) << 8;
    };
    std::size_t i = 0;
    for (; i + 1 < utf16.size(); i += 2) {
        const std::uint32_t high = unit(i);
        if (high >= 0xD800 && high <= 0xDBFF && i + 3 < utf16.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                codes.push_back(0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        codes.push_back(high >= 0xD800 && high <= 0xDFFF ? kReplacement : high);
    }
    if (i < utf16.size())
        codes.push_back(kReplacement);
    return codes;
}

void AppendUtf16(std::string& out, std::uint32_t code) {
    auto unit = [&](std::uint32_t value) {
        out += static_cast<char>(value & 0xFF);
        out += static_cast<char>(value >> 8);
    };
    if (code < 0x10000) {
        unit(code);
    } else {
        code -= 0x10000;
        unit(0xD800 + (code >> 10));
        unit(0xDC00 + (code & 0x3FF));
    }
}

unsigned char Byte1252(std::uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<unsigned char>(code);
    for (int i = 0; i < 32; ++i) {
        if (k1252From80[i] == code)
            return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

#ifdef _WIN32
// The text's bytes in codePage, or empty when a character has none there. UTF-8 and UTF-7,
// which a console's code page may be, take neither flags nor the default-character arguments
// (the call fails with ERROR_INVALID_PARAMETER), and have a form for every character.
// https://learn.microsoft.com/windows/win32/api/stringapiset/nf-stringapiset-widechartomultibyte
std::string SystemEncode(const std::string& utf16, int codePage) {
    const UINT page = static_cast<UINT>(codePage);
    const bool unicode = page == CP_UTF8 || page == CP_UTF7;
    const DWORD flags = unicode ? 0 : WC_NO_BEST_FIT_CHARS;
    const int units = static_cast<int>(utf16.size() / 2);
    const auto* wide = reinterpret_cast<const wchar_t*>(utf16.data());
    const int length = WideCharToMultiByte(page, flags, wide, units, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string bytes(static_cast<std::size_t>(length), '\0');
    BOOL usedDefault = FALSE;
    const int written = WideCharToMultiByte(page, flags, wide, units, &bytes[0], length, nullptr,
                                            unicode ? nullptr : &usedDefault);
    return written == length && !usedDefault ? bytes : std::string();
}

std::string SystemDecode(const std::string& bytes, int codePage) {
    const int length = MultiByteToWideChar(static_cast<UINT>(codePage), 0, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(static_cast<UINT>(codePage), 0, bytes.data(),
                        static_cast<int>(bytes.size()), &wide[0], length);
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}
#else
// One iconv descriptor per direction and code page and thread, opened once and closed when the
// thread ends: a descriptor holds the state of a conversion, so threads never share one.
iconv_t Converter(const std::string& to, const std::string& from) {
    struct Cache {
        std::map<std::string, iconv_t> open;
        ~Cache() {
            for (const auto& entry : open) {
                if (entry.second != iconv_t(-1))
                    iconv_close(entry.second);
            }
        }
    };
    thread_local Cache cache;
    const auto found = cache.open.emplace(to + "<" + from, iconv_t(-1));
    if (found.second)
        found.first->second = iconv_open(to.c_str(), from.c_str());
    return found.first->second;
}

// Runs all of in through cd; returns false at the first sequence it cannot convert.
bool Run(iconv_t cd, const std::string& in, std::string& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* source = const_cast<char*>(in.data());
    std::size_t left = in.size();
    std::vector<char> buffer(in.size() * 4 + 16);
    char* target = buffer.data();
    std::size_t room = buffer.size();
    const bool ok = iconv(cd, &source, &left, &target, &room) != static_cast<std::size_t>(-1);
    out.assign(buffer.data(), buffer.size() - room);
    return ok && left == 0;
}

std::string SystemEncode(const std::string& utf16, int codePage) {
    std::string out;
    return Run(Converter("CP" + std::to_string(codePage), "UTF-16LE"), utf16, out) ? out
                                                                                   : std::string();
}

std::string SystemDecode(const std::string& bytes, int codePage) {
    std::string out;
    return Run(Converter("UTF-16LE", "CP" + std::to_string(codePage)), bytes, out) ? out
                                                                                   : std::string();
}
#endif
}  // namespace

std::string Utf16ToCodePage(const std::string& utf16, int codePage, std::uint32_t* unconvertible) {
    std::string out;
    if (unconvertible != nullptr)
        *unconvertible = 0;
    for (const std::uint32_t code : CodePoints(utf16)) {
        std::string bytes;
        if (code < 0x80) {
            bytes = std::string(1, static_cast<char>(code));
        } else if (codePage == 1252) {
            const unsigned char single = Byte1252(code);
            bytes = single == 0 ? std::string() : std::string(1, static_cast<char>(single));
        } else if (code != kReplacement) {
            std::string one;
            AppendUtf16(one, code);
            bytes = SystemEncode(one, codePage);
        }
        if (bytes.empty()) {
            bytes = "?";
            if (unconvertible != nullptr && *unconvertible == 0)
                *unconvertible = code;
        }
        out += bytes;
    }
    return out;
}

std::string CodePageToUtf16(const std::string& bytes, int codePage) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char first = static_cast<unsigned char>(bytes[i]);
        if (first < 0x80) {
            AppendUtf16(out, first);
        } else if (codePage == 1252) {
            AppendUtf16(out, first < 0xA0 ? k1252From80[first - 0x80] : first);
        } else {
            const bool pair = i + 1 < bytes.size() && IsLeadByteIn(codePage, first);
            const std::string decoded = SystemDecode(bytes.substr(i, pair ? 2 : 1), codePage);
            if (decoded.size() == 2)
                out += decoded;
            else
                AppendUtf16(out, kReplacement);
            i += pair ? 1 : 0;
        }
    }
    return out;
}

std::string Utf8ToUtf16(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        std::uint32_t code = length == 1   ? c
                             : length == 2 ? c & 0x1F
                             : length == 3 ? c & 0x0F
                                           : c & 0x07;
        bool ok = length > 0 && c < 0xF5 && i + static_cast<std::size_t>(length) <= utf8.size();
        for (int k = 1; ok && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            ok = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        static const std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        ok = ok && code >= kLeast[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        AppendUtf16(out, ok ? code : kReplacement);
        i += ok ? static_cast<std::size_t>(length) : 1;
    }
    return out;
}

std::string Utf16ToUtf8(const std::string& utf16) {
    std::string out;
    for (const std::uint32_t code : CodePoints(utf16)) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

std::string Utf16ToTerminal(const std::string& utf16) {
#ifdef _WIN32
    return SystemEncode(utf16, static_cast<int>(GetConsoleOutputCP()));
#else
    return Utf16ToUtf8(utf16);
#endif
}
