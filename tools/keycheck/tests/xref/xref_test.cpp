// keycheck xref on small packages: each kind of finding and warning at its file and line.
#include "tools/keycheck/xref/xref.h"

#include "tools/keycheck/tests/package_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Codes = std::vector<std::string>;  // "code file:line [versions]" of each
const char* const kBothIds = "[PCI]\r\nA=VEN_1A2B&DEV_5820\r\nB=VEN_1A2B&DEV_5821\r\n";

// An INF whose models ([HX], from line 10) are models; with "%M% = HX, NTx86" in
// manufacturer, XP reads [HX.NTx86] (from line 14 on) instead.
std::string Inf(const std::string& models, const std::string& manufacturer = "%M% = HX",
                const std::string& xpModels = "", const std::string& signature = "$Chicago$") {
    return "[Version]\r\nSignature=\"" + signature +   // 1, 2
           "\"\r\nCatalogFile=hx5820.cat\r\n"          // 3
           "[SourceDisksNames]\r\n1 = %Disk%,,,\r\n"   // 4, 5
           "[SourceDisksFiles]\r\nhx5820.sys = 1\r\n"  // 6, 7
           "[Manufacturer]\r\n" +                      // 8
           manufacturer +
           "\r\n[HX]\r\n" + models +      // 9, 10, 11-12
           "[HX.NTx86]\r\n" + xpModels +  // 13, 14-
           "[Inst]\r\n[Strings]\r\nM = \"HX\"\r\nD = \"HX5820\"\r\nDisk = \"Disk 1\"\r\n";
}

const std::string kBothModels =
    "%D% = Inst, PCI\\VEN_1A2B&DEV_5820\r\n%D% = Inst, PCI\\VEN_1A2B&DEV_5821\r\n";

XrefResult Check(const std::string& keyIni, const std::string& inf, const std::string& ina) {
    PackageFiles files = LauncherPackageFiles(keyIni);
    files.Add("drv\\hx5820.inf", inf);
    files.Add("drv\\hx5820.ina", ina);
    return CrossCheck(ReadTestPackage(std::move(files)), false);
}

// The findings or the warnings of a result.
Codes CodesOf(const std::vector<Finding>& all, Severity severity = Severity::Finding) {
    Codes codes;
    for (const Finding* each : OfSeverity(all, severity)) {
        const Finding& finding = *each;
        std::string versions;
        for (const std::string& version : finding.versions)
            versions += (versions.empty() ? " [" : ",") + version;
        codes.push_back(CodeName(finding.code) + std::string(" ") + finding.file + ":" +
                        std::to_string(finding.line) + (versions.empty() ? "" : versions + "]"));
    }
    return codes;
}

struct PackageCase {
    const char* what;
    std::string keyIni, inf, ina;
    Codes findings, warnings;
};

TEST(XrefTest, EachPackageGetsItsFindings) {
    const std::string ina = Inf(kBothModels);
    const PackageCase cases[] = {
        {"both IDs everywhere", kBothIds, Inf(kBothModels), ina, {}, {}},
        {"key.ini misses an INF ID",
         "A=VEN_1A2B&DEV_5820\r\n",
         Inf(kBothModels),
         ina,
         {"id-not-listed drv\\hx5820.ina:12 [98se]",
          "id-not-listed drv\\hx5820.inf:12 [me,2000,xp]"},
         {}},
        {"an ID no INF line covers",
         kBothIds + std::string("C=VEN_1A2B&DEV_5822\r\n"),
         Inf(kBothModels),
         ina,
         {"entry-not-installed key.ini:4"},
         {}},
        {"covered only for one subsystem",
         "A=VEN_1A2B&DEV_5820\r\n",
         Inf("%D% = Inst, PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B\r\n"),
         Inf("%D% = Inst, PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B\r\n"),
         {},
         {"entry-partly-installed key.ini:1"}},
        {"the entry names the subsystem the line does",
         "A=VEN_1A2B&DEV_5820&SUBSYS_00011A2B\r\n",
         Inf("%D% = Inst, PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B\r\n"),
         Inf("%D% = Inst, PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B\r\n"),
         {},
         {}},
        {"an entry that is not a whole ID",
         "A=DEV_5820\r\nB=VEN_1A2B&DEV_5821\r\n",
         Inf(kBothModels),
         ina,
         {"partial-id key.ini:1"},
         {}},
        {"XP's decorated models lack an ID",
         kBothIds,
         Inf(kBothModels, "%M% = HX, NTx86", "%D% = Inst, PCI\\VEN_1A2B&DEV_5820\r\n"),
         ina,
         {"entry-not-installed key.ini:3 [xp]"},
         {}},
        {"$Windows NT$ on Me",
         kBothIds,
         Inf(kBothModels, "%M% = HX", "", "$Windows NT$"),
         ina,
         {"wrong-signature drv\\hx5820.inf:1 [me]"},
         {}},
        {"a models section that does not exist",
         kBothIds,
         Inf(kBothModels, "%M% = HY"),
         ina,
         {"missing-models-section drv\\hx5820.inf:9 [me,2000,xp]",
          "entry-not-installed key.ini:2 [me,2000,xp]",
          "entry-not-installed key.ini:3 [me,2000,xp]"},
         {}},
        {"an undefined string and a missing install section",
         kBothIds,
         Inf(kBothModels + "%E% = None, PCI\\VEN_1A2B&DEV_5820\r\n"),
         ina,
         {"missing-install-section drv\\hx5820.inf:13 [me,2000,xp]"},
         {"undefined-string drv\\hx5820.inf:13 [me,2000,xp]"}},
        {"a catalog and a source file missing",
         kBothIds,
         Inf(kBothModels) + "[SourceDisksFiles]\r\nnone.sys = 1\r\n[Version]\r\n"
                            "CatalogFile.NT = none.cat\r\n",
         ina,
         {"missing-package-file drv\\hx5820.inf:20 [me,2000,xp]",
          "catalog-absent Drv\\hx5820.inf:22 [2000,xp]"},
         {}},
        {"one finding said four times on a line of the file only 98 SE reads",
         kBothIds,
         Inf(kBothModels),
         Inf(kBothModels + "%D% = Inst, PCI\\VEN_1A2B&DEV_5820, %U%, %U%, %U%, %U%\r\n"),
         {},
         {"undefined-string drv\\hx5820.ina:13 [98se]"}},
        {"a bad ID twice on one line, in the file three versions read",
         kBothIds,
         Inf(kBothModels + "%D% = Inst, PCI\\VEN_1A2B&DEV_5820, PCI\\BAD, PCI\\BAD\r\n"),
         ina,
         {"bad-pci-id drv\\hx5820.inf:13 [me,2000,xp]"},
         {}},
        {"lines naming the devices by compatible ID alone",
         kBothIds,
         Inf("%D% = Inst,, PCI\\VEN_1A2B&DEV_5820\r\n%D% = Inst,, PCI\\VEN_1A2B&DEV_5821\r\n"),
         ina,
         {},
         {}},
        {"an undefined string is said only for the versions that read the file",
         kBothIds,
         Inf(kBothModels + "%E% = Inst, PCI\\VEN_1A2B&DEV_5820\r\n", "%M% = HX", "",
             "$Windows NT$"),
         ina,
         {"wrong-signature drv\\hx5820.inf:1 [me]"},
         {"undefined-string Drv\\hx5820.inf:13 [2000,xp]"}},
        // Microsoft's own machine.inf has such a section; neither 2000 nor XP x86 reads it.
        {"what stands in a models section none of the four reads is said for none",
         kBothIds,
         Inf(kBothModels, "%M% = HX, NTamd64") + "[HX.NTamd64]\r\n%Q% = Inst, PCI\\BAD\r\n",
         ina,
         {},
         {}},
        {"an install section for the NT family only is said for 2000 and XP",
         kBothIds,
         Inf(kBothModels) + "[Inst.NTx86]\r\nHKR,,EventMessageFile,0x20000,%SystemRoot%\\x.dll\r\n"
                            "[Inst.NTamd64]\r\nHKR,,Other,,%Q%\r\n",
         ina,
         {},
         {"undefined-string Drv\\hx5820.inf:20 [2000,xp]"}},
        {"a signature 9x may read and the NT family refuses",
         kBothIds,
         Inf(kBothModels, "%M% = HX", "", "$Windows95$"),
         Inf(kBothModels, "%M% = HX", "", "$WINDOWS95$"),
         {"wrong-signature Drv\\hx5820.inf:1 [2000,xp]"},
         {"undocumented-signature drv\\hx5820.ina:1 [98se]",
          "undocumented-signature drv\\hx5820.inf:1 [me]"}},
    };
    for (const PackageCase& c : cases) {
        const XrefResult result = Check(c.keyIni, c.inf, c.ina);
        EXPECT_EQ(CodesOf(result.findings), c.findings) << c.what;
        EXPECT_EQ(CodesOf(result.findings, Severity::Warning), c.warnings) << c.what;
    }
}

TEST(XrefTest, CoversTellTheLineAndTheKindOfMatch) {
    const XrefResult result =
        Check("A=VEN_1A2B&DEV_5820\r\n",
              Inf("%D% = Inst, PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B&REV_01, "
                  "PCI\\VEN_1A2B&DEV_5820\r\n"),
              Inf("%D% = Inst, PCI\\VEN_1A2B&DEV_5820\r\n"));
    ASSERT_EQ(result.versions.size(), 4u);
    const VersionXref& xp = result.versions[3];
    EXPECT_EQ(xp.inf.path, "Drv\\hx5820.inf");
    ASSERT_EQ(xp.covers[0].size(), 2u);
    EXPECT_EQ(xp.covers[0][0].line->line, 11);
    EXPECT_EQ(xp.covers[0][0].deviceKind, DeviceIdKind::HardwareId);
    EXPECT_FALSE(xp.covers[0][0].complete);
    // On XP, PCI\VEN&DEV is among a device's compatible IDs; on 98 SE among its hardware IDs.
    EXPECT_EQ(xp.covers[0][1].deviceKind, DeviceIdKind::CompatibleId);
    EXPECT_TRUE(xp.covers[0][1].lineCompatibleId);
    EXPECT_TRUE(xp.covers[0][1].complete);
    const VersionXref& se = result.versions[0];
    EXPECT_EQ(se.inf.path, "drv\\hx5820.ina");
    ASSERT_EQ(se.covers[0].size(), 1u);
    EXPECT_EQ(se.covers[0][0].deviceKind, DeviceIdKind::HardwareId);
    EXPECT_TRUE(result.findings.empty());
}

TEST(XrefTest, MissingFilesAndKeyFile) {
    // No key.ini: every INF ID is unreached, and that is said once per line.
    PackageFiles empty;
    empty.Add("drv\\hx5820.ina", Inf(kBothModels));
    const XrefResult none = CrossCheck(ReadTestPackage(std::move(empty)), false);
    EXPECT_EQ(
        CodesOf(none.findings),
        (Codes{"no-key-file key.ini:0", "missing-package-file drv\\hx5820.ina:7 [98se]",
               "id-not-listed drv\\hx5820.ina:11 [98se]", "id-not-listed drv\\hx5820.ina:12 [98se]",
               "missing-inf drv\\hx5820.inf:0 [me,2000,xp]"}));
}
}  // namespace
