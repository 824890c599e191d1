// The package read once: its files found as Windows finds them, each INF read once for every
// version given it, and each version naming it as the launcher does.
#include "tools/keycheck/package/package.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/tests/package_fixture.h"
#include "tools/keycheck/tests/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string kInf = "[Version]\r\nSignature=$Chicago$\r\n[Manufacturer]\r\nM\r\n[M]\r\n"
                         "D = I, PCI\\VEN_1A2B&DEV_5820\r\n[I]\r\n";

TEST(PackageTest, FilesAreFoundWhateverTheirCaseInTheFolder) {
    TempFolder folder;
    folder.Write("pkg/Key.ini", "[PCI]\r\nA=VEN_1A2B&DEV_5820\r\n");
    folder.Write("pkg/DRV/HX5820.INF", kInf);
    folder.Write("pkg/txtsetup.oem", "[Disks]\r\n");
    Package package;
    std::string error;
    ASSERT_TRUE(ReadPackage(folder.Path("pkg"), InfReading{}, package, error)) << error;
    EXPECT_TRUE(package.keyFile.found);
    EXPECT_EQ(package.keyFile.name, "Key.ini");
    EXPECT_EQ(package.keyFile.table, std::vector<std::string>{"VEN_1A2B&DEV_5820"});
    EXPECT_TRUE(package.hasF6File);
    EXPECT_FALSE(package.InfFor(OS_WIN98SE).found);  // no .ina
    for (OsType version : {OS_WINME, OS_WIN2000, OS_WINXP})
        EXPECT_EQ(package.InfFor(version).models.lines.size(), 1u) << VersionOption(version);

    EXPECT_FALSE(ReadPackage(folder.Path("none"), InfReading{}, package, error));
    EXPECT_EQ(error, folder.Path("none") + ": not a folder");
}

TEST(PackageTest, AnInfIsReadOnceAndEachVersionNamesItAsTheLauncherDoes) {
    PackageFiles files;
    files.Add("drv\\hx5820.inf", kInf + "[Other]\r\nx = %undefined%\r\n");
    const Package package = ReadTestPackage(std::move(files));
    const VersionInf& me = package.InfFor(OS_WINME);
    const VersionInf& xp = package.InfFor(OS_WINXP);
    EXPECT_EQ(me.file.get(), xp.file.get());
    EXPECT_EQ(me.file.get(), package.InfFor(OS_WIN2000).file.get());
    EXPECT_EQ(me.models.lines.at(0).file, "drv\\hx5820.inf");
    EXPECT_EQ(xp.models.lines.at(0).file, "Drv\\hx5820.inf");
    ASSERT_EQ(xp.models.findings.size(), 1u);
    EXPECT_EQ(xp.models.findings[0].file, "Drv\\hx5820.inf");
    EXPECT_EQ(xp.models.findings[0].line, 9);
}

// Names compare as Windows compares them in the code page: the Latin-1 letters fold in 1252,
// and in 932 a double-byte character is compared as it is, even where its trail byte is a
// letter (83 41 and 83 61 are two katakana).
TEST(PackageTest, NamesCompareCharacterByCharacterInTheCodePage) {
    PackageFiles western(1252);
    western.Add("drv\\\xE9t\xE9.sys", "x");
    EXPECT_NE(western.Find("DRV\\\xC9T\xC9.SYS"), nullptr);
    western.Add("\x83\x41.sys", "a");
    EXPECT_NE(western.Find("\x83\x61.sys"), nullptr);

    PackageFiles japanese(932);
    japanese.Add("\x83\x41.sys", "a");
    EXPECT_EQ(japanese.Find("\x83\x61.sys"), nullptr);
    EXPECT_NE(japanese.Find("\x83\x41.SYS"), nullptr);
}
}  // namespace
