// TXTSETUP.OEM's sections and entries, as text-mode setup cuts them.
#include "tools/keycheck/txtsetup/txtsetup_file.h"

#include "tools/keycheck/text/ascii_case.h"

namespace {
bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string Trimmed(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && Blank(text[begin]))
        ++begin;
    while (end > begin && Blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// One entry's key and fields: "=" outside quotes (before any comma) ends the key, "," ends a
// field, ";" or "#" outside quotes ends the entry; quoted text is kept as it is. The F6 files
// that work write comments after a value with "#": id = "USB\VID_03F0&PID_2001", "usbstor" #--HP
// is read by setup as the service usbstor (the USB floppy lines around KB916196).
TxtSetupEntry Entry(const std::string& line, int number) {
    TxtSetupEntry entry{number, false, {}, {}};
    std::string field;
    bool quoted = false, wasQuoted = false;
    const auto take = [&]() {
        entry.fields.push_back(wasQuoted ? field : Trimmed(field));
        field.clear();
        wasQuoted = false;
    };
    for (char c : line) {
        if (c == '"') {
            if (!quoted && !wasQuoted)
                field = Trimmed(field);
            quoted = !quoted;
            wasQuoted = true;
        } else if (quoted) {
            field += c;
        } else if (c == ';' || c == '#') {
            break;
        } else if (c == '=' && !entry.hasKey && entry.fields.empty()) {
            entry.hasKey = true;
            entry.key = wasQuoted ? field : Trimmed(field);
            field.clear();
            wasQuoted = false;
        } else if (c == ',') {
            take();
        } else if (!(wasQuoted && !quoted && Blank(c))) {
            field += c;
        }
    }
    take();
    return entry;
}
}  // namespace

const TxtSetupSection* TxtSetupFile::Section(const std::string& name) const {
    for (const TxtSetupSection& section : sections) {
        if (AsciiUpper(section.name) == AsciiUpper(name))
            return &section;
    }
    return nullptr;
}

TxtSetupFile ParseTxtSetup(const std::string& whole) {
    TxtSetupFile file;
    // A DOS end-of-file mark (0x1A), which editors of the time left, ends the text.
    const std::string bytes = whole.substr(0, whole.find('\x1A'));
    std::size_t start = 0;
    for (int number = 1; start <= bytes.size(); ++number) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string line = Trimmed(bytes.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            const std::size_t close = line.find(']');
            file.sections.push_back(TxtSetupSection{
                Trimmed(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)),
                number,
                {}});
            continue;
        }
        if (!file.sections.empty())
            file.sections.back().entries.push_back(Entry(line, number));
    }
    return file;
}
