// The INF reader against what Windows' own parser does, one row a fact.
//
// The facts are those of Wine's INF parser conformance tests, which run against real
// Windows (dlls/setupapi/tests/parser.c in Wine's source: the invalid_files, section_names
// and key_names tables); the rows here are our own text showing each of them. Rows Wine marks
// todo (where Wine differs from Windows) are left out, and so are the directory-ID expansions
// (%24% and such, which Windows resolves only when it installs, and keycheck keeps) and the
// length limits of expanded strings. Each row runs in ANSI and in UTF-16LE.
#include "tools/keycheck/inf/inf_file.h"
#include "tools/keycheck/inf/inf_models.h"
#include "tools/keycheck/tests/inf/inf_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Fields = std::vector<std::string>;
#define BYTES(s) std::string(s, sizeof(s) - 1)

const std::string kHead = "[Version]\r\nSignature=\"$CHICAGO$\"\r\n";
const std::string kStrings = "[Strings]\nfoo=FOO\nbar=BAR\nloop=%loop2%\nloop2=%loop%\n"
                             "per%%cent=x\nper=1\ncent=2\ndrv=\"Q:\\\"\n";

// The bytes in the encoding: ANSI as they are, UTF-16LE with its mark, each byte widened.
std::string Encoded(const std::string& bytes, InfEncoding encoding) {
    if (encoding == InfEncoding::Ansi)
        return bytes;
    std::string wide = "\xFF\xFE";
    for (char c : bytes) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

class InfConformanceTest : public ::testing::TestWithParam<InfEncoding> {
protected:
    InfFile Parse(const std::string& bytes) const {
        return ParseInf("t.inf", Encoded(bytes, GetParam()));
    }
};

// What the file's open comes to: "ok", "style" when it opens but is no INF of the style Windows
// asks for (no or a wrong signature), or the error's code and line.
std::string Outcome(const InfFile& inf) {
    if (inf.openError)
        return CodeName(inf.openError->code) + std::string(":") +
               std::to_string(inf.openError->line);
    for (const Finding& finding : ModelsForVersion(inf, OS_WINXP).findings) {
        if (finding.code == Code::NoSignature || finding.code == Code::WrongSignature)
            return "style";
    }
    return "ok";
}

struct FileRow {
    std::string bytes;
    const char* outcome;
};

TEST_P(InfConformanceTest, WhichFilesWindowsOpens) {
    const std::string name255(255, 'n');
    const FileRow rows[] = {
        {"\r\n", "style"},
        {"[Version]\r\n", "style"},
        {"[Version]\nSignature=", "style"},
        {"[Version]\nSignature=bar", "style"},
        {"[version]\nsignature=$chicago$", "ok"},
        {"[VERSION]\nSIGNATURE=$CHICAGO$", "ok"},
        {"[Version]\nSignature=$chicago$,extra", "ok"},
        {"[Version]\nxy=z\nSignature=$chicago$", "ok"},
        {"[Version]\nxy=z\n[Version]\nSignature=$chicago$", "ok"},
        {kHead + "[]\r\n", "ok"},
        {kHead + "]\r\n", "ok"},
        {kHead + "[" + name255 + "]\r\n", "ok"},
        {kHead + "[xy\r\n", "bad-section-line:3"},
        {kHead + BYTES("\n\n[xy\x1a]\n"), "bad-section-line:5"},
        {kHead + "[" + name255 + "n]\r\n", "section-name-too-long:3"},
        {"[xyz]\n" + kHead, "ok"},
        {"xyz\r\n" + kHead, "outside-section:1"},
        {";\n;\nxyz\r\n" + kHead, "outside-section:3"},
        {";\n;\nxy\nxy\n" + kHead, "outside-section:3"},
        {";c\n;d\n" + kHead, "ok"},
        {"junk1\njunk2\n[xyz]\n" + kHead, "outside-section:1"},
        {"junk1\njunk2\n[Strings]\n" + kHead, "ok"},
        {";c\njunk1\njunk2\n[xyz]\n" + kHead, "outside-section:2"},
        {";c\njunk1\njunk2\n[Strings]\n" + kHead, "ok"},
        {" \t\njunk1\njunk2\n[xyz]\n" + kHead, "outside-section:2"},
        {" \t\njunk1\njunk2\n[Strings]\n" + kHead, "ok"},
        {"junk1\njunk2\n" + kHead + "[xyz]\n", "outside-section:1"},
        {"junk1\njunk2\n" + kHead + "[Strings]\n", "ok"},
        {";c\njunk1\njunk2\n" + kHead + "[xyz]\n", "outside-section:2"},
        {" \t\njunk1\njunk2\n" + kHead + "[Strings]\n", "ok"},
    };
    for (const FileRow& row : rows)
        EXPECT_EQ(Outcome(Parse(row.bytes)), row.outcome) << row.bytes;
}

struct SectionRow {
    std::string bytes;  // after the [Version] section
    std::string name;
    bool found;
};

TEST_P(InfConformanceTest, SectionNames) {
    const SectionRow rows[] = {
        {"[Sect]", "Sect", true},
        {"[Sect]\n", "Sect", true},
        {"[SECT]\r\n", "Sect", true},
        {"[Sect]\n[xyz]", "sect", true},
        {";[Sect]\n", "Sect", false},
        {"[Sect]\n", "Other", false},
        {"[Sect]   \r\n", "Sect", true},
        {"   [Sect]\r\n", "Sect", true},
        {"   [Sect]   junk\r\n", "Sect", true},
        {"   [Sect]   [foo]\r\n", "Sect", true},
        {" [  My Sect  ] junk\r\n", "  My Sect  ", true},
        {BYTES("[Sect] \x1a\njunk"), "Sect", true},
        {BYTES("[Sect] \n\x1ajunk"), "Sect", true},
        {"[My[Sect]\r\n", "My[Sect", true},
        {"[My[S]ect]\r\n", "My[S", true},
        {"[My[[[Sect]\r\n", "My[[[Sect", true},
        {"[]\r\n", "", true},
        {"[[[]\n", "[[", true},
        {"[My\"Sect]\r\n", "My\"Sect", true},
        {"[My\\Sect]\r\n", "My\\Sect", true},
        {"[My\\ Sect]\r\n", "My\\ Sect", true},
        {"[My;Sect]\r\n", "My;Sect", true},
        {" [My\r\b\tSect] \n", "My\r\b\tSect", true},
    };
    for (const SectionRow& row : rows) {
        const InfFile inf = Parse(kHead + row.bytes);
        EXPECT_FALSE(inf.openError) << row.bytes;
        EXPECT_EQ(inf.Section(row.name) != nullptr, row.found) << row.bytes;
    }
}

struct EntryRow {
    std::string bytes;  // the [T] section's text; with strings, kStrings follows it
    const char* key;    // as Windows gives field 0: null when the line has none
    Fields fields;
    bool strings = false;
};

// Field 0 as Windows gives it: a line without "=" that has one field is its own key.
const char* WindowsKey(const InfLine& line) {
    if (line.hasKey)
        return line.key.c_str();
    return line.fields.size() == 1 ? line.fields[0].c_str() : nullptr;
}

TEST_P(InfConformanceTest, KeysAndFields) {
    const EntryRow rows[] = {
        {"k=v", "k", {"v"}},
        {"k=v1,v2,v3", "k", {"v1", "v2", "v3"}},
        {"solo", "solo", {"solo"}},
        {"p,q", nullptr, {"p", "q"}},
        {"p,q=r", nullptr, {"p", "q=r"}},
        {"=x,y", "", {"x", "y"}},
        // Backslashes: a join only where nothing but blanks, backslashes or a comment follow.
        {"mo\\\nre=v", "more", {"v"}},
        {"mo  \\  \nre=v", "more", {"v"}},
        {"mo\\\nre,v", nullptr, {"more", "v"}},
        {"mo  \\ ;note\nre=v", "more", {"v"}},
        {"mo \\ \\ \nre=v", "more", {"v"}},
        {"mo \\ re=v", "mo \\ re", {"v"}},
        {"mo \\\\ \nr=v", "mor", {"v"}},
        {"k=p\\\\q", "k", {"p\\\\q"}},
        {"k=v \\ ", "k", {"v"}},
        {"k=x \\ \n \\ \n y", "k", {"xy"}},
        {"k=x \\ \n \\ y", "k", {"x\\ y"}},
        {"  \\ k= \\ v", "\\ k", {"\\ v"}},
        // Quotes.
        {"Ke\"Ey\"=Va", "KeEy", {"Va"}},
        {"Ke\"Ey=Va\"", "KeEy=Va", {"KeEy=Va"}},
        {"pq\"\"\"rs,tu=vw\"", "pq\"rs,tu=vw", {"pq\"rs,tu=vw"}},
        {"pq\"\"rs=tu", "pqrs", {"tu"}},
        {"pq\"\"rs=tu,vw", "pqrs", {"tu", "vw"}},
        {"k=pq\"\"rs", "k", {"pqrs"}},
        {"k=pq\",\"rs", "k", {"pq,rs"}},
        {"k=pq\",rs", "k", {"pq,rs"}},
        {"k=pq\",rs\\\nk2", "k", {"pq,rs\\"}},
        {"HKR,X,Y,'Z',W", nullptr, {"HKR", "X", "Y", "'Z'", "W"}},
        // Blanks.
        {" p q = r , s \n", "p q", {"r", "s"}},
        {" p q = r ,\" s\" \n", "p q", {"r", " s"}},
        {" p q\r = r\r\n", "p q", {"r"}},
        // Empty fields.
        {"k=p,,,q,,,r", "k", {"p", "", "", "q", "", "", "r"}},
        {"k=p,\"\",q,\" \",r", "k", {"p", "", "q", " ", "r"}},
        {"=,,v", "", {"", "", "v"}},
        {",=,,v", nullptr, {"", "=", "", "v"}},
        {"k=\n", "k", {""}},
        {"=", "", {""}},
        // The end-of-file character and NUL bytes.
        {BYTES("k=v\x1Aw"), "k", {"v"}},
        {BYTES("kk\x1A=vv"), "kk", {"kk"}},
        {BYTES("kk=vv\0ww"), "kk", {"vv ww"}},
        {BYTES("k=%s%\n[Strings]\ns=val\0\n"), "k", {"val"}},
        {BYTES("k=%s%\n[Strings]\ns=val \0\n"), "k", {"val"}},
        {BYTES("k=%s%\n[Strings]\ns=one\0two \0\n"), "k", {"one two"}},
        // Sections of one name are one section.
        {"[T2]\nzz\n[T]\nk=v\n", "k", {"v"}},
        // Strings: replaced after quotes and comments are gone, never again in what is put in.
        {"%foo%=%bar%", "FOO", {"BAR"}, true},
        {"%foo%xx=%bar%yy", "FOOxx", {"BARyy"}, true},
        {"%% %foo%=%bar%", "% FOO", {"BAR"}, true},
        {"%f\"o\"o%=v", "FOO", {"v"}, true},
        {"k=%bar;x%", "k", {"%bar"}, true},
        {"loop=%loop%", "loop", {"%loop2%"}, true},
        {"%per%%cent%=v", "12", {"v"}, true},
        {"k=\"%drv%\\x\"", "k", {"Q:\\\\x"}, true},
        {"k=Q:\\\\X", "k", {"Q:\\\\X"}, true},
    };
    for (const EntryRow& row : rows) {
        const InfFile inf =
            Parse(kHead + "[T]\n" + row.bytes + (row.strings ? "\n" + kStrings : ""));
        const InfSection* section = inf.Section("T");
        if (section == nullptr || section->lines.empty()) {
            ADD_FAILURE() << "no line in [T]: " << row.bytes;
            continue;
        }
        const InfLine& line = section->lines[0];
        const char* key = WindowsKey(line);
        EXPECT_EQ(key == nullptr, row.key == nullptr) << row.bytes;
        if (key != nullptr && row.key != nullptr) {
            EXPECT_STREQ(key, row.key) << row.bytes;
        }
        EXPECT_EQ(line.fields, row.fields) << row.bytes;
    }
}

TEST_P(InfConformanceTest, AnUnclosedQuoteEndsWithItsLine) {
    // The next line is a line of its own, and the file's sections after it are all there.
    const InfFile inf = Parse(kHead + "[T]\nk=pq\",rs\\\nk2\n[U]\nz=1\n");
    ASSERT_NE(inf.Section("T"), nullptr);
    ASSERT_EQ(inf.Section("T")->lines.size(), 2u);
    EXPECT_EQ(inf.Section("T")->lines[1].fields, Fields{"k2"});
    ASSERT_NE(inf.Section("U"), nullptr);
    ASSERT_EQ(inf.findings.size(), 1u);
    EXPECT_STREQ(CodeName(inf.findings[0].code), "unclosed-quote");
    EXPECT_EQ(inf.findings[0].line, 4);
    EXPECT_EQ(inf.findings[0].severity, Severity::Warning);
}

INSTANTIATE_TEST_SUITE_P(BothEncodings, InfConformanceTest,
                         ::testing::Values(InfEncoding::Ansi, InfEncoding::Utf16Le),
                         [](const auto& row) { return EncodingName(row.param); });
}  // namespace
