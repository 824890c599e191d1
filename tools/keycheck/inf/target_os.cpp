// TargetOSVersion decorations of [Manufacturer] entries, and which one Windows XP picks.
//
// The format and fields are those of "Combining Platform Extensions with Operating System
// Versions" (learn.microsoft.com/windows-hardware/drivers/install/
// combining-platform-extensions-with-operating-system-versions):
// NT[Architecture][.[Major][.[Minor][.[ProductType][.[SuiteMask][.[BuildNumber]]]]]], every
// field optional and empty where left out; BuildNumber came with Windows 10 1607 (build 14310).
// A section decorated for version Major.Minor serves that version and later ones, and "INF
// Manufacturer Section" says Windows chooses the section that most closely matches the running
// version. The same page gives the decorated form of a [Manufacturer] entry as "Windows XP and
// later versions of Windows", and its example leaves the undecorated section empty to keep Windows
// 2000 away: Windows 2000 reads the undecorated section only, as Windows 9x does.
#include "tools/keycheck/inf/target_os.h"

#include "tools/keycheck/text/ascii_case.h"

#include <cstdlib>

namespace {
struct Decoration {
    std::string architecture;  // upper case; empty: any
    long field[5];  // major, minor, product type, suite mask, build number; -1 when not given
};

bool ParseNumber(const std::string& text, long& value) {
    if (text.empty()) {
        value = -1;
        return true;
    }
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return *end == '\0' && value >= 0;
}

bool Parse(const std::string& written, Decoration& decoration) {
    const std::string text = AsciiUpper(written);
    if (text.compare(0, 2, "NT") != 0)
        return false;
    const std::size_t dot = text.find('.');
    decoration.architecture =
        text.substr(2, dot == std::string::npos ? std::string::npos : dot - 2);
    const std::string& a = decoration.architecture;
    if (!a.empty() && a != "X86" && a != "IA64" && a != "AMD64" && a != "ARM" && a != "ARM64")
        return false;
    std::size_t at = dot;
    for (long& value : decoration.field) {
        value = -1;
        if (at == std::string::npos)
            continue;
        const std::size_t next = text.find('.', at + 1);
        if (!ParseNumber(
                text.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1),
                value))
            return false;
        at = next;
    }
    return at == std::string::npos;
}

// Windows XP as keycheck takes it: x86, version 5.1, VER_NT_WORKSTATION (1), the suite of XP
// Professional, VER_SUITE_SINGLEUSERTS (0x100), and build 2600. XP's own parser predates the
// build number; no source says what it makes of one, so keycheck takes it as the other fields
// are taken, as a condition: a section for a later build is not XP's.
const long kXpMajor = 5;
const long kXpMinor = 1;
const long kXpProductType = 1;
const long kXpSuite = 0x100;
const long kXpBuild = 2600;

bool FitsXp(const Decoration& d) {
    if (!d.architecture.empty() && d.architecture != "X86")
        return false;
    const long major = d.field[0] < 0 ? 0 : d.field[0];
    const long minor = d.field[1] < 0 ? 0 : d.field[1];
    if (major > kXpMajor || (major == kXpMajor && minor > kXpMinor))
        return false;
    if (d.field[2] >= 0 && d.field[2] != kXpProductType)
        return false;
    if (d.field[4] > kXpBuild)
        return false;
    return d.field[3] < 0 || (d.field[3] & ~kXpSuite) == 0;
}

// How closely a fitting decoration matches: the later version first, then each further
// field that is given.
bool Closer(const Decoration& a, const Decoration& b) {
    const long av[] = {a.field[0], a.field[1], a.field[4], a.architecture.empty() ? -1 : 1,
                       a.field[2], a.field[3]};
    const long bv[] = {b.field[0], b.field[1], b.field[4], b.architecture.empty() ? -1 : 1,
                       b.field[2], b.field[3]};
    for (int i = 0; i < 6; ++i) {
        if (av[i] != bv[i])
            return av[i] > bv[i];
    }
    return false;
}
}  // namespace

bool IsTargetOsDecoration(const std::string& decoration) {
    Decoration parsed;
    return Parse(decoration, parsed);
}

int DecorationXpPicks(const std::vector<std::string>& decorations) {
    int best = -1;
    Decoration bestParsed;
    for (std::size_t i = 0; i < decorations.size(); ++i) {
        Decoration parsed;
        if (!Parse(decorations[i], parsed) || !FitsXp(parsed))
            continue;
        if (best < 0 || Closer(parsed, bestParsed)) {
            best = static_cast<int>(i);
            bestParsed = parsed;
        }
    }
    return best;
}
