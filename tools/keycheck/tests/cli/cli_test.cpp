// keycheck from its command line: real folders and export files, the reports and exit statuses.
#include "tools/keycheck/cli/keycheck_cli.h"

#include "tools/keycheck/tests/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {
const std::string kDevice = "VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01";
const std::string kKeyIni = "[PCI]\r\nHX5820=VEN_1A2B&DEV_5820\r\n";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class CliTest : public ::testing::Test {
protected:
    CliTest() {
        folder.WritePackage("pkg", kKeyIni);
        folder.Write("xp.reg",
                     "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum"
                     "\\PCI\\" +
                         kDevice + "\\4&1f7dbc9f&0&10]\r\n\"Service\"=\"hx\"\r\n");
    }
    Outcome Run(std::vector<std::string> args) {
        for (std::string& arg : args) {
            if (arg.rfind("@", 0) == 0)
                arg = folder.Path(arg.substr(1));
        }
        std::ostringstream out, err;
        const int status = RunKeycheck(args, out, err);
        return Outcome{status, out.str(), err.str()};
    }

    TempFolder folder;
};

TEST_F(CliTest, PredictTellsTheInstallAndExitsWithZero) {
    const Outcome text = Run({"predict", "@pkg", "--os", "xp", "--registry", "@xp.reg"});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_TRUE(Has(text.out, "D:\\install.exe D:\\Drv\\hx5820.inf \"PCI\\" + kDevice + "\""))
        << text.out;
    EXPECT_TRUE(Has(text.out, "holds #1 \"VEN_1A2B&DEV_5820\"  <- the device")) << text.out;
    EXPECT_TRUE(Has(text.out, "in the export's order")) << text.out;
    EXPECT_EQ(text.err, "");

    const Outcome json =
        Run({"predict", "@pkg", "--os=xp", "--registry", "@xp.reg", "--dir=E:\\pkg", "--json"});
    EXPECT_EQ(json.status, 0);
    EXPECT_TRUE(Has(json.out, R"("commandLine":"E:\\pkg\\install.exe E:\\pkg\\Drv\\hx5820.inf )"
                              R"(\"PCI\\)" +
                                  kDevice + "\\\"\""))
        << json.out;
    EXPECT_TRUE(Has(json.out, R"("taken":")" + kDevice + "\"")) << json.out;
    EXPECT_TRUE(Has(json.out, R"("outcome":"install","exitStatus":0})")) << json.out;
    EXPECT_EQ(json.out.back(), '\n');
}

TEST_F(CliTest, PredictRefusalExitsWithOne) {
    const Outcome w9x = Run({"predict", "@pkg", "--os", "me", "--registry", "@xp.reg", "--json"});
    EXPECT_EQ(w9x.status, 1);
    EXPECT_TRUE(Has(w9x.out, R"("branchInExport":false)")) << w9x.out;
    EXPECT_TRUE(Has(w9x.out, R"("boxes":[{"caption":"Worry","text":"Sorry!! We don't support )"
                             R"(this ID.\nYour ID are't Correctly!!","type":0}])"))
        << w9x.out;
    EXPECT_TRUE(Has(w9x.out, R"("outcome":"refuse","exitStatus":1})")) << w9x.out;

    const Outcome unsupported = Run({"predict", "@pkg", "--os", "nt4", "--registry", "@xp.reg"});
    EXPECT_EQ(unsupported.status, 1);
    EXPECT_TRUE(Has(unsupported.out, "\"Sorry!!We don't support this Operating System\""));
}

TEST_F(CliTest, KeyFileIsReadInTheMachinesCodePage) {
    // In Shift-JIS 81 3D is one character: its "=" starts no entry.
    folder.WritePackage("sjis", "ID\x81=DEV_5820\r\n");
    const Outcome western = Run({"predict", "@sjis", "--os", "xp", "--registry", "@xp.reg"});
    EXPECT_EQ(western.status, 0) << western.out;
    const Outcome japanese =
        Run({"predict", "@sjis", "--os", "xp", "--registry", "@xp.reg", "--codepage", "932"});
    EXPECT_EQ(japanese.status, 1) << japanese.out;
    EXPECT_TRUE(Has(japanese.out, "key.ini read, 0 entries")) << japanese.out;

    // A folder name ending in Big5 A5 5C reaches the command line byte for byte.
    const Outcome big5 = Run({"predict", "@pkg", "--os", "xp", "--registry", "@xp.reg", "--dir",
                              "Z:\\pkg\xA5\x5C", "--codepage", "950", "--json"});
    EXPECT_EQ(big5.status, 0);
    EXPECT_TRUE(Has(big5.out, R"("commandLine":"Z:\\pkg\u00a5\\\\install.exe )")) << big5.out;
}

TEST_F(CliTest, WindowsFolderAndDirAreTakenAsWindowsGivesThem) {
    folder.Write("98.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Enum\\PCI\\" + kDevice + "]\r\n");
    const Outcome p = Run({"predict", "@pkg", "--os", "98se", "--registry", "@98.reg", "--windir",
                           "C:\\WIN98\\", "--dir", "A:", "--json"});
    EXPECT_EQ(p.status, 0);
    EXPECT_TRUE(Has(p.out, R"("deletedKey":"Enum\\PCI\\)" + kDevice + "\"")) << p.out;
    EXPECT_TRUE(Has(p.out, R"({"source":"A:\\drv\\hx5820.ina","sourceInPackage":true,)"
                           R"("destination":"C:\\WIN98\\inf\\hx5820.inf"})"))
        << p.out;
    const Outcome root = Run(
        {"predict", "@pkg", "--os", "98se", "--registry", "@98.reg", "--windir", "C:\\", "--json"});
    EXPECT_TRUE(Has(root.out, R"("destination":"C:\\inf\\hx5820.inf")")) << root.out;
}

TEST_F(CliTest, UnusableInputExitsWithTwoAndOneLineNamingIt) {
    folder.Write("bad.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A\r\n");
    const std::string bad = folder.Path("bad.reg");
    const std::string missing = folder.Path("nope");
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"predict", "@pkg", "--os", "xp", "--registry", "@bad.reg"},
         bad + ":3: key line without its closing ]"},
        {{"predict", "@pkg", "--os", "xp", "--registry", "@nope"}, missing + ": cannot be read"},
        {{"predict", "@nope", "--os", "xp", "--registry", "@xp.reg"}, missing + ": not a folder"},
        {{"lint", "@nope"}, missing + ": not a folder"},
        {{"predict", "@pkg", "--os", "xq", "--registry", "@xp.reg"}, "--os: unknown version xq"},
        {{"predict", "@pkg", "--registry", "@xp.reg"},
         folder.Path("xp.reg") + ": records no Windows version (REGEDIT4); name it with --os"},
        {{"predict", "@pkg", "--os"}, "--os: 1 required"},
        {{"lint", "@pkg", "--os", "xp"}, "The following arguments were not expected"},
        {{"lint", "@pkg", "--codepage", "437"}, "--codepage: 437 not in"},
        {{"lint", "@pkg", "--verbose"}, "The following argument was not expected: --verbose"},
        {{"lint", "@pkg", "@xp.reg"}, "The following argument was not expected"},
        {{"lint"}, "PACKAGE_DIR is required"},
        {{"check", "@pkg"}, "unknown command check"},
        {{}, "A subcommand is required"},
    };
    for (const auto& c : cases) {
        const Outcome o = Run(c.args);
        EXPECT_EQ(o.status, 2) << c.err;
        EXPECT_EQ(o.out, "") << c.err;
        EXPECT_EQ(o.err.rfind("keycheck: " + c.err, 0), 0u) << o.err;
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
    }
}

TEST_F(CliTest, LintExitsWithOneOnFindingsAndZeroWithout) {
    const Outcome clean = Run({"lint", "@pkg"});
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_TRUE(Has(clean.out, "#1  offset 14 (line 2)  HX5820=\"VEN_1A2B&DEV_5820\""))
        << clean.out;
    EXPECT_TRUE(Has(clean.out, "no findings"));

    // Found as Windows finds it, without regard to case.
    folder.WritePackage("upper", "");
    std::filesystem::remove(folder.Path("upper/key.ini"));
    folder.Write("upper/KEY.INI", "A=VEN_1\nB=ven_2\n");
    const Outcome warned = Run({"lint", "@upper", "--json"});
    EXPECT_EQ(warned.status, 1);
    EXPECT_TRUE(
        Has(warned.out, R"("findings":[{"code":"bare-line-feed","offset":2,"line":1,"text":)"))
        << warned.out;
    EXPECT_TRUE(Has(warned.out, R"("value":"VEN_1\nB=ven_2\n","kept":"VEN_1\nB=ven_2\n")"))
        << warned.out;
    EXPECT_TRUE(Has(warned.out, R"("exitStatus":1})"));
}

TEST_F(CliTest, DevicesExitsWithZeroWhenTheExportWasReadAndTwoWhenNot) {
    const Outcome listed = Run({"devices", "@xp.reg", "--package", "@pkg", "--json"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_TRUE(Has(listed.out, R"("family":"nt","devices":[{"name":")" + kDevice +
                                    R"(","matchedEntry":1,"matchedId":"VEN_1A2B&DEV_5820",)"))
        << listed.out;
    // The test package's INF files are placeholders no version can use.
    EXPECT_TRUE(Has(listed.out, R"("infLines":[{"os":"Windows 2000","inf":"Drv\\hx5820.inf",)"
                                R"("infReadable":false,"installs":false,)"))
        << listed.out;
    EXPECT_TRUE(Has(listed.out, R"("exitStatus":0})")) << listed.out;

    folder.Write("empty.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n");
    // No PCI branch: said plainly, with the status predict gives there (the launcher refuses).
    const Outcome empty = Run({"devices", "@empty.reg"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_TRUE(Has(empty.out, "The machine holds neither")) << empty.out;

    const std::string missing = folder.Path("nope");
    for (const auto& args :
         {std::vector<std::string>{"devices", "@nope"},
          std::vector<std::string>{"devices", "@xp.reg", "--package", "@nope"}}) {
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err.rfind("keycheck: " + missing, 0), 0u) << o.err;
    }
}

TEST_F(CliTest, EveryVerbHasItsHelpOnStandardOutput) {
    // Every verb keycheck has, and whether it takes --json; a new verb is added here too.
    const struct {
        const char* name;
        bool json;
    } verbs[] = {{"lint", true},  {"predict", true},     {"devices", true},   {"xref", true},
                 {"gen", false},  {"txtsetup", true},    {"catalog", true},   {"survey", true},
                 {"match", true}, {"disk build", false}, {"disk check", true}};
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    std::string listed;
    for (const auto& verb : verbs) {
        const std::string name = verb.name;
        const std::string first = name.substr(0, name.find(' '));
        EXPECT_TRUE(Has(help.out, "\n  " + first + " ")) << help.out;
        std::vector<std::string> args;
        for (std::size_t at = 0; at != std::string::npos;) {
            const std::size_t blank = name.find(' ', at);
            args.push_back(name.substr(at, blank == std::string::npos ? blank : blank - at));
            at = blank == std::string::npos ? blank : blank + 1;
        }
        args.push_back("--help");
        const Outcome verbHelp = Run(args);
        EXPECT_EQ(verbHelp.status, 0) << name;
        EXPECT_TRUE(Has(verbHelp.out, "Usage: keycheck " + name + " [OPTIONS]")) << verbHelp.out;
        EXPECT_EQ(Has(verbHelp.out, "--json"), verb.json) << verbHelp.out;
        listed += name + "\n";
    }
    // The list scripts read (the manual page, the Wine cross-check) names the same verbs.
    const Outcome list = Run({"--verbs"});
    std::string names;
    for (std::size_t at = 0; at < list.out.size();) {
        const std::size_t end = list.out.find('\n', at);
        names += list.out.substr(at, list.out.find('\t', at) - at) + "\n";
        at = end + 1;
    }
    EXPECT_EQ(names, listed);
}
}  // namespace
