// Which models each Windows version reads: signatures, [Manufacturer] decorations, sections.
#include "tools/keycheck/inf/inf_models.h"

#include "tools/keycheck/tests/inf/inf_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Names = std::vector<std::string>;
const OsType kFour[] = {OS_WIN98SE, OS_WINME, OS_WIN2000, OS_WINXP};

// The models sections each of the four versions reads ("-" when it cannot read the file).
std::vector<std::string> SectionsRead(const std::string& text) {
    const InfFile inf = ParseInf("x.inf", InfBytes(text, InfEncoding::Ansi));
    std::vector<std::string> read;
    for (OsType version : kFour) {
        const InfModels models = ModelsForVersion(inf, version);
        std::string names = models.readable ? "" : "-";
        for (const std::string& name : models.sections)
            names += (names.empty() ? "" : " ") + name;
        read.push_back(names);
    }
    return read;
}

std::string Inf(const std::string& signature, const std::string& manufacturer,
                const Names& sections) {
    std::string text = "[Version]\nSignature=\"" + signature + "\"\n[Manufacturer]\n" +
                       manufacturer + "\n[Go]\n[Strings]\nM = \"Maker\"\n";
    for (const std::string& name : sections)
        text += "[" + name + "]\n%M% = Go, PCI\\VEN_1A2B&DEV_5820\n";
    return text;
}

struct VersionCase {
    const char* rule;
    std::string text;
    Names read;  // 98 SE, Me, 2000, XP
};

TEST(ModelsForVersionTest, SignatureAndDecorationsPerVersion) {
    const VersionCase cases[] = {
        {"$Windows NT$ is not read by Windows 9x",
         Inf("$Windows NT$", "%M% = M", {"M"}),
         {"-", "-", "M", "M"}},
        {"$Chicago$ is read by all four, in any case",
         Inf("$chicago$", "%M% = M", {"M"}),
         {"M", "M", "M", "M"}},
        {"$Windows 95$ is read by all four",
         Inf("$Windows 95$", "%M% = M", {"M"}),
         {"M", "M", "M", "M"}},
        {"another signature: not by the NT family; 9x unsettled, read with a warning",
         Inf("$Windows95$", "%M% = M", {"M"}),
         {"M", "M", "-", "-"}},
        {"only XP reads a decoration",
         Inf("$Chicago$", "%M% = M, NTx86", {"M", "M.NTx86"}),
         {"M", "M", "M", "M.NTx86"}},
        {"XP takes the latest version that fits it",
         Inf("$Chicago$", "%M% = M, NT, NTx86.5.1, NT.5.2, NT.6.0",
             {"M", "M.NT", "M.NTx86.5.1", "M.NT.5.2", "M.NT.6.0"}),
         {"M", "M", "M", "M.NTx86.5.1"}},
        {"with equal versions, the one naming the architecture",
         Inf("$Chicago$", "%M% = M, NT.5.1, NTx86.5.1", {"M", "M.NT.5.1", "M.NTx86.5.1"}),
         {"M", "M", "M", "M.NTx86.5.1"}},
        {"nothing fits XP: the undecorated section",
         Inf("$Chicago$", "%M% = M, NTamd64, NT.6.0, NTx86.5.1.3", {"M"}),
         {"M", "M", "M", "M"}},
        {"a name without a key is its own models section",
         Inf("$Chicago$", "Maker", {"Maker"}),
         {"Maker", "Maker", "Maker", "Maker"}},
        {"every manufacturer's section",
         Inf("$Chicago$", "%M% = A\nOther = B", {"A", "B"}),
         {"A B", "A B", "A B", "A B"}},
    };
    for (const VersionCase& c : cases)
        EXPECT_EQ(SectionsRead(c.text), c.read) << c.rule;
}

// The finding codes version gets for text.
std::vector<std::string> Codes(const std::string& text, OsType version) {
    std::vector<std::string> codes;
    const InfModels models =
        ModelsForVersion(ParseInf("x.inf", InfBytes(text, InfEncoding::Ansi)), version);
    for (const Finding& finding : models.findings)
        codes.push_back(CodeName(finding.code) + std::string(":") + std::to_string(finding.line));
    return codes;
}

TEST(ModelsForVersionTest, WhatAVersionCannotUseIsFoundAtItsLine) {
    const std::string head = "[Version]\nSignature=\"$Chicago$\"\n";
    EXPECT_EQ(Codes("[Manufacturer]\nM\n[M]\n", OS_WINXP), Names{"no-signature:0"});
    EXPECT_EQ(Codes("[Version]\nSignature=\"$Windows NT$\"\n", OS_WINME),
              Names{"wrong-signature:1"});
    EXPECT_EQ(Codes("[Version]\nSignature=\"$WINDOWS95$\"\n", OS_WIN2000),
              Names{"wrong-signature:1"});
    EXPECT_EQ(Codes("[Version]\nSignature=\"$Windows 9x$\"\n", OS_WIN98SE),
              (Names{"undocumented-signature:1", "no-manufacturer:0"}));
    EXPECT_EQ(Codes(head, OS_WIN2000), Names{"no-manufacturer:0"});
    EXPECT_EQ(Codes(head + "[Manufacturer]\nM = Absent\n", OS_WIN98SE),
              Names{"missing-models-section:4"});
    EXPECT_EQ(Codes(head + "[Manufacturer]\nM = Absent, NTx68\n[Absent]\n", OS_WINXP),
              Names{"bad-decoration:4"});
    EXPECT_EQ(Codes(head + "[Manufacturer]\nM\n[M]\nPCI\\VEN_1A2B&DEV_5820\nD = \n", OS_WINXP),
              (Names{"bad-models-line:6", "bad-models-line:7"}));
    // Install sections: the NT family also looks for .NTx86 and .NT; Windows 9x does not.
    const std::string models = head + "[Manufacturer]\nM\n[M]\nD = Inst, PCI\\VEN_1A2B&DEV_5820\n";
    EXPECT_EQ(Codes(models + "[Inst.NT]\n", OS_WINXP), Names{});
    EXPECT_EQ(Codes(models + "[Inst.NTx86]\n", OS_WIN2000), Names{});
    EXPECT_EQ(Codes(models + "[Inst.NT]\n", OS_WINME), Names{"missing-install-section:6"});
    EXPECT_EQ(Codes(models + "[inst]\n", OS_WIN98SE), Names{});
}

TEST(ModelsForVersionTest, ModelLinesCarryTheirFields) {
    const InfFile inf = ParseInf(
        "drv\\x.inf", "[Version]\r\nSignature=$CHICAGO$\r\n[Manufacturer]\r\n%M%=Std\r\n[Std]\r\n"
                      "%D% = Inst, PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B, PCI\\VEN_1A2B&DEV_5820,"
                      " PCI\\CC_0104\r\n[Inst]\r\n[Strings]\r\nM=Maker\r\nD=\"HX, RAID\"\r\n");
    const InfModels models = ModelsForVersion(inf, OS_WINME);
    ASSERT_EQ(models.lines.size(), 1u);
    const ModelLine& line = models.lines[0];
    EXPECT_EQ(line.file, "drv\\x.inf");
    EXPECT_EQ(line.section, "Std");
    EXPECT_EQ(line.line, 6);
    EXPECT_EQ(line.description, "HX, RAID");
    EXPECT_EQ(line.installSection, "Inst");
    EXPECT_EQ(line.hardwareId, "PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B");
    EXPECT_EQ(line.compatibleIds, (Names{"PCI\\VEN_1A2B&DEV_5820", "PCI\\CC_0104"}));

    // A line may name its device by compatible IDs alone, as Windows 9x display INFs do.
    const InfFile compatibleOnly =
        ParseInf("x.inf", "[Version]\r\nSignature=$CHICAGO$\r\n[Manufacturer]\r\nM\r\n[M]\r\n"
                          "D = Inst,,  PCI\\VEN_10DE&DEV_0020\r\n[Inst]\r\n");
    const InfModels read = ModelsForVersion(compatibleOnly, OS_WIN98SE);
    EXPECT_TRUE(read.findings.empty());
    ASSERT_EQ(read.lines.size(), 1u);
    EXPECT_EQ(read.lines[0].hardwareId, "");
    EXPECT_EQ(read.lines[0].compatibleIds, Names{"PCI\\VEN_10DE&DEV_0020"});
}
}  // namespace
