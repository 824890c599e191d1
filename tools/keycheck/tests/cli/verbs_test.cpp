// keycheck xref and gen on the command line: exit statuses, the file gen writes, its notes.
#include "tools/keycheck/cli/keycheck_cli.h"

#include "tools/keycheck/tests/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {
struct Outcome {
    int status;
    std::string out, err;
};

Outcome Keycheck(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunKeycheck(args, out, err);
    return Outcome{status, out.str(), err.str()};
}

// A package whose INF files, for all four versions, list the models given.
void WriteInfs(const TempFolder& folder, const std::string& models) {
    const std::string inf = "[Version]\r\nSignature=$Chicago$\r\n[Manufacturer]\r\nHX\r\n[HX]\r\n" +
                            models + "[Inst]\r\n";
    folder.Write("pkg/drv/hx5820.inf", inf);
    folder.Write("pkg/drv/hx5820.ina", inf);
}

TEST(XrefVerbsTest, GenWritesWhatXrefFindsClean) {
    TempFolder folder;
    folder.WritePackage("pkg", "A=VEN_0000&DEV_0000\r\n");
    WriteInfs(folder, "D = Inst, PCI\\VEN_1A2B&DEV_5820\r\n");
    EXPECT_EQ(Keycheck({"xref", folder.Path("pkg")}).status, 1);

    const Outcome gen = Keycheck({"gen", folder.Path("pkg"), "-o", folder.Path("pkg/key.ini")});
    EXPECT_EQ(gen.status, 0) << gen.err;
    std::ifstream file(folder.Path("pkg/key.ini"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}),
              "[PCI]\r\nID1=VEN_1A2B&DEV_5820\r\n");
    const Outcome xref = Keycheck({"xref", folder.Path("pkg"), "--json"});
    EXPECT_EQ(xref.status, 0) << xref.out;
    EXPECT_NE(xref.out.find("\"exitStatus\":0}"), std::string::npos) << xref.out;

    // A warning alone leaves the status at 0, as in every verb.
    const std::string unsettled = "[Version]\r\nSignature=$Windows95$\r\n[Manufacturer]\r\nHX\r\n"
                                  "[HX]\r\nD = Inst, PCI\\VEN_1A2B&DEV_5820\r\n[Inst]\r\n";
    folder.Write("pkg/drv/hx5820.ina", unsettled);
    const Outcome warned = Keycheck({"xref", folder.Path("pkg"), "--json"});
    EXPECT_EQ(warned.status, 0) << warned.out;
    EXPECT_NE(warned.out.find(R"("findings":[],)"), std::string::npos) << warned.out;
    EXPECT_NE(warned.out.find(R"("warnings":[{"code":"undocumented-signature",)"),
              std::string::npos)
        << warned.out;
    EXPECT_EQ(Keycheck({"gen", folder.Path("pkg"), "-o", folder.Path("no/such/key.ini")}).status,
              2);
}

TEST(XrefVerbsTest, RefusalsAndUnusableInput) {
    TempFolder folder;
    folder.WritePackage("pkg", "A=VEN_1A2B&DEV_5800\r\n");
    std::string models;
    for (int i = 0; i < 41; ++i)
        models += "D = Inst, PCI\\VEN_1A2B&DEV_" + std::to_string(5800 + i) + "\r\n";
    WriteInfs(folder, models);
    const Outcome many = Keycheck({"gen", folder.Path("pkg")});
    EXPECT_EQ(many.status, 1);
    EXPECT_EQ(many.out, "");
    EXPECT_NE(many.err.find("41 IDs"), std::string::npos) << many.err;

    // Only XP's decorated models name the IDs: 9x and 2000 lack all 41, five to a line.
    folder.Write("pkg/drv/hx5820.ina",
                 "[Version]\r\nSignature=$Chicago$\r\n[Manufacturer]\r\nHX\r\n[HX]\r\n");
    const Outcome lacking = Keycheck({"gen", folder.Path("pkg")});
    EXPECT_NE(lacking.err.find("Windows 98 SE reads lack 41 IDs:\n    VEN_1A2B&DEV_5800 "
                               "VEN_1A2B&DEV_5801 VEN_1A2B&DEV_5802 VEN_1A2B&DEV_5803 "
                               "VEN_1A2B&DEV_5804\n    VEN_1A2B&DEV_5805"),
              std::string::npos)
        << lacking.err;

    EXPECT_EQ(Keycheck({"xref", folder.Path("none")}).status, 2);
    EXPECT_EQ(Keycheck({"gen", folder.Path("none")}).status, 2);
}
}  // namespace

namespace {
// The F6 file's findings reach lint and xref too; txtsetup alone needs no key.ini.
TEST(TxtSetupVerbTest, LintAndXrefSayTheF6FilesFindings) {
    TempFolder folder;
    folder.WritePackage("pkg", "A=VEN_1A2B&DEV_5820\r\n");
    WriteInfs(folder, "D = Inst, PCI\\VEN_1A2B&DEV_5820\r\n");
    folder.Write("pkg/install.exe", "installer");
    EXPECT_EQ(Keycheck({"lint", folder.Path("pkg")}).status, 0);
    folder.Write("pkg/TXTSETUP.OEM", "[Disks]\r\nd1 = \"Disk\", \\none.tag, \\drv\r\n"
                                     "[Defaults]\r\nscsi = HX\r\n[scsi]\r\nHX = \"HX\"\r\n"
                                     "[Files.scsi.HX]\r\ndriver = d1, hx5820.sys, hx5820\r\n"
                                     "[HardwareIds.scsi.HX]\r\n"
                                     "id = \"PCI\\VEN_1A2B&DEV_5820\", \"hx5820\"\r\n");
    const Outcome lint = Keycheck({"lint", folder.Path("pkg")});
    EXPECT_EQ(lint.status, 1);
    EXPECT_NE(lint.out.find("TXTSETUP.OEM:2: the tag file \\none.tag is not on the disk"),
              std::string::npos)
        << lint.out;
    const Outcome xref = Keycheck({"xref", folder.Path("pkg")});
    EXPECT_EQ(xref.status, 1);
    EXPECT_NE(xref.out.find("TXTSETUP.OEM:2: the tag file \\none.tag is not on the disk"),
              std::string::npos)
        << xref.out;
    EXPECT_NE(xref.out.find("[2000, xp]"), std::string::npos) << xref.out;
    // xref hands its own key.ini and models to the comparison: a device the F6 file lacks.
    folder.WritePackage("pkg", "A=VEN_1A2B&DEV_5820\r\nB=VEN_1A2B&DEV_5821\r\n");
    WriteInfs(folder, "D = Inst, PCI\\VEN_1A2B&DEV_5820\r\nD = Inst, PCI\\VEN_1A2B&DEV_5821\r\n");
    const Outcome lacking = Keycheck({"xref", folder.Path("pkg")});
    EXPECT_NE(lacking.out.find("VEN_1A2B&DEV_5821: TXTSETUP.OEM lacks it"), std::string::npos)
        << lacking.out;

    folder.Write("floppy/TXTSETUP.OEM", "[Disks]\r\n");
    const Outcome floppy = Keycheck({"txtsetup", folder.Path("floppy"), "--json"});
    EXPECT_EQ(floppy.status, 1);
    EXPECT_NE(floppy.out.find("\"crossChecked\":false"), std::string::npos) << floppy.out;
    EXPECT_EQ(Keycheck({"txtsetup", folder.Path("pkg/drv")}).status, 2);
}
}  // namespace
