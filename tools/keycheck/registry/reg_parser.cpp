// RegParser: the grammar of a registry export's lines after its header, into a key tree.
#include "tools/keycheck/registry/reg_parser.h"

#include "tools/keycheck/text/code_page.h"

#include <cctype>
#include <cstdio>
#include <string>

namespace {
const char* const kLocalMachine = "HKEY_LOCAL_MACHINE";
const char* const kOtherRoots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_USERS",
                                   "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

bool SameAscii(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}
}  // namespace

RegParser::RegParser(int codePage, RegFormat format)
    : tree(codePage), m_codePage(codePage), m_format(format) {}

void RegParser::Line(const RegLine& line) {
    RegCursor cursor(line.text, m_codePage);
    if (m_pending == Pending::String) {
        // A string goes on over the line end.
        m_value.data += '\n';
        StringData(cursor);
        return;
    }
    cursor.SkipBlanks();
    if (m_pending == Pending::HexData) {
        HexData(cursor);
        return;
    }
    if (cursor.AtEnd() || cursor.Peek() == ';')
        return;
    if (cursor.Peek() == '[')
        KeyLine(cursor, line);
    else if (cursor.Peek() == '"' || cursor.Peek() == '@')
        ValueLine(cursor);
    else
        throw RegSyntaxError{"expected a [key] line, a \"name\"=data line or a ; comment"};
}

void RegParser::KeyLine(RegCursor& cursor, const RegLine& line) {
    cursor.Next();
    const std::size_t start = cursor.Position();
    std::size_t close = std::string::npos;
    for (; !cursor.AtEnd(); cursor.Next()) {
        if (cursor.Peek() == ']')
            close = cursor.Position();
    }
    if (close == std::string::npos)
        throw RegSyntaxError{"key line without its closing ]"};
    RegCursor after(line.text, m_codePage);
    while (after.Position() <= close)
        after.Next();
    after.ExpectEnd("the key's closing ]");

    std::string name = line.text.substr(start, close - start);
    const bool deletion = !name.empty() && name[0] == '-';
    if (deletion)
        name.erase(0, 1);
    // hivexregedit --export writes a hive's keys from the hive's root: "[\ControlSet001\...]".
    // They are read as below HKEY_LOCAL_MACHINE, where reg load would have put the hive.
    const bool fromHiveRoot = !name.empty() && name[0] == '\\';
    std::vector<std::string> path =
        SplitKeyPath(fromHiveRoot ? std::string(kLocalMachine) + (name == "\\" ? "" : name) : name);
    m_inKey = true;
    m_key = nullptr;

    bool otherRoot = false;
    for (const char* root : kOtherRoots)
        otherRoot = otherRoot || SameAscii(path[0], root);
    if (otherRoot)
        return;
    if (!SameAscii(path[0], kLocalMachine))
        throw RegSyntaxError{"unknown root key \"" + path[0] + "\""};
    if (line.unconvertible != 0) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(line.unconvertible));
        throw RegSyntaxError{std::string("the key name holds ") + code +
                             ", which keycheck cannot convert to code page " +
                             std::to_string(m_codePage)};
    }
    path.erase(path.begin());
    if (!deletion)
        m_key = &tree.Add(path);
    else if (path.empty())
        throw RegSyntaxError{"a root key cannot be deleted"};
    else
        tree.Remove(path);
}

std::vector<std::string> RegParser::SplitKeyPath(const std::string& text) const {
    std::vector<std::string> path(1);
    RegCursor cursor(text, m_codePage);
    while (!cursor.AtEnd()) {
        const std::size_t from = cursor.Position();
        if (cursor.Peek() == '\\') {
            path.emplace_back();
            cursor.Next();
            continue;
        }
        cursor.Next();
        path.back() += text.substr(from, cursor.Position() - from);
    }
    for (const std::string& name : path) {
        if (name.empty())
            throw RegSyntaxError{"empty key name in \"" + text + "\""};
    }
    return path;
}

void RegParser::ValueLine(RegCursor& cursor) {
    if (!m_inKey)
        throw RegSyntaxError{"value before the first key"};
    m_value = RegValue{cursor.Take('@') ? std::string() : ValueName(cursor), kRegSz, ""};
    cursor.SkipBlanks();
    if (!cursor.Take('='))
        throw RegSyntaxError{"\"=\" expected after the value name"};
    cursor.SkipBlanks();
    if (cursor.Take('"')) {
        StringData(cursor);
    } else if (cursor.Take('-')) {
        cursor.ExpectEnd("the value deletion -");
        if (m_key != nullptr)
            RemoveRegValue(*m_key, m_value.name);
    } else if (cursor.TakeWord("dword:")) {
        DwordData(cursor);
    } else if (cursor.TakeWord("hex")) {
        HexData(cursor);
    } else {
        throw RegSyntaxError{"unknown value data; expected \"string\", dword:, hex: or -"};
    }
}

// The quoted name at the cursor, with its \\ and \" escapes undone.
std::string RegParser::ValueName(RegCursor& cursor) {
    const std::string& text = cursor.Text();
    std::string name;
    cursor.Next();
    for (;;) {
        if (cursor.AtEnd())
            throw RegSyntaxError{"value name without its closing quote"};
        if (cursor.Take('"'))
            return name;
        if (cursor.Take('\\') && cursor.AtEnd())
            throw RegSyntaxError{"value name without its closing quote"};
        const std::size_t from = cursor.Position();
        cursor.Next();
        name += text.substr(from, cursor.Position() - from);
    }
}

void RegParser::StoreValue() {
    if (m_key != nullptr)
        SetRegValue(*m_key, m_value);
}

void RegParser::StringData(RegCursor& cursor) {
    const std::string& text = cursor.Text();
    while (!cursor.AtEnd()) {
        if (cursor.Take('"')) {
            cursor.ExpectEnd("the string's closing quote");
            m_pending = Pending::Nothing;
            StoreValue();
            return;
        }
        if (cursor.Take('\\') && cursor.AtEnd())
            break;
        const std::size_t from = cursor.Position();
        cursor.Next();
        m_value.data += text.substr(from, cursor.Position() - from);
    }
    m_pending = Pending::String;
}

void RegParser::DwordData(RegCursor& cursor) {
    const std::size_t from = cursor.Position();
    while (IsHexDigit(cursor.Peek()))
        cursor.Next();
    const std::size_t digits = cursor.Position() - from;
    if (digits < 1 || digits > 8)
        throw RegSyntaxError{"dword: must be followed by 1 to 8 hex digits"};
    cursor.ExpectEnd("the dword value");
    unsigned long number = std::stoul(cursor.Text().substr(from, digits), nullptr, 16);
    m_value.type = kRegDword;
    for (int i = 0; i < 4; ++i, number >>= 8)
        m_value.data += static_cast<char>(number & 0xFF);
    StoreValue();
}

void RegParser::HexData(RegCursor& cursor) {
    if (m_pending == Pending::Nothing) {
        // hex: or hex(type):, the type in hex digits.
        m_value.type = kRegBinary;
        if (cursor.Take('(')) {
            const std::size_t from = cursor.Position();
            while (IsHexDigit(cursor.Peek()))
                cursor.Next();
            if (cursor.Position() > from && cursor.Position() - from <= 8)
                m_value.type = static_cast<int>(
                    std::stoul(cursor.Text().substr(from, cursor.Position() - from), nullptr, 16));
            if (!cursor.Take(')'))
                throw RegSyntaxError{"hex(type): needs its closing )"};
        }
        if (!cursor.Take(':'))
            throw RegSyntaxError{"\":\" expected after hex"};
    }
    m_pending = Pending::Nothing;
    const RegSyntaxError bad{"hex data must be bytes of one or two hex digits separated by commas"};
    for (;;) {
        cursor.SkipBlanks();
        if (cursor.AtEnd()) {
            if (m_value.type == kRegSz)
                m_value.data = HexStringText(m_value.data);
            StoreValue();
            return;
        }
        if (cursor.Take('\\')) {
            cursor.ExpectEnd("the line-continuing backslash");
            m_pending = Pending::HexData;
            return;
        }
        const std::size_t from = cursor.Position();
        while (IsHexDigit(cursor.Peek()) && cursor.Position() - from < 3)
            cursor.Next();
        const std::size_t digits = cursor.Position() - from;
        if (digits < 1 || digits > 2)
            throw bad;
        m_value.data +=
            static_cast<char>(std::stoi(cursor.Text().substr(from, digits), nullptr, 16));
        cursor.SkipBlanks();
        if (!cursor.Take(',') && !cursor.AtEnd() && cursor.Peek() != '\\')
            throw bad;
    }
}

// hex(1): a string written as bytes (hivexregedit writes every REG_SZ so): UTF-16LE in a
// version 5.00 export, code-page bytes in a REGEDIT4 one, with the NUL that ends it, which a
// "text" value leaves out. The string is the rest, as a "text" value holds it.
std::string RegParser::HexStringText(const std::string& bytes) const {
    if (m_format == RegFormat::Regedit4)
        return !bytes.empty() && bytes.back() == '\0' ? bytes.substr(0, bytes.size() - 1) : bytes;
    std::string utf16 = bytes.substr(0, bytes.size() / 2 * 2);
    if (utf16.size() >= 2 && utf16.compare(utf16.size() - 2, 2, std::string(2, '\0')) == 0)
        utf16.resize(utf16.size() - 2);
    return Utf16ToCodePage(utf16, m_codePage);
}
