// Jobs side by side: two verbs on two threads, each on its own package, machine and code page,
// give what they give alone. The launcher's loader and its match keep process globals (the
// device-ID table, the key text, the lead-byte table); without the one lock around a launcher
// run, one thread's table or lead bytes would be the other's.
#include "tools/keycheck/cli/keycheck_cli.h"

#include "tools/keycheck/tests/temp_folder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {
std::string Keycheck(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunKeycheck(args, out, err);
    return std::to_string(status) + "\n" + out.str() + err.str();
}

TEST(JobsSideBySideTest, TwoVerbsOnTwoThreadsGiveWhatEachGivesAlone) {
    TempFolder folder;
    // A Western package and a Japanese one: the second's entry ends in a double-byte character
    // whose trail byte is 0x5C, and its device key name holds it only as that character.
    folder.WritePackage("west", "[PCI]\r\nA=VEN_1A2B&DEV_5820\r\nB=VEN_8086&DEV_7110\r\n");
    folder.WritePackage("japan", "[PCI]\r\nA=VEN_1A2B&DEV_\x95\x5C\r\n");
    folder.Write("west.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_8086&DEV_7110\\0]\r\n"
                             "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1A2B&DEV_5820\\0]\r\n");
    folder.Write("japan.reg",
                 "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1A2B&DEV_\x95\x5C&X\\0]\r\n");
    const std::vector<std::vector<std::string>> jobs = {
        {"predict", folder.Path("west"), "--os", "98se", "--registry", folder.Path("west.reg")},
        {"devices", folder.Path("japan.reg"), "--package", folder.Path("japan"), "--codepage",
         "932", "--json"},
        {"xref", folder.Path("japan"), "--codepage", "932", "--json"},
        {"lint", folder.Path("west")}};
    std::vector<std::string> alone;
    for (const auto& job : jobs)
        alone.push_back(Keycheck(job));
    // Each job alone: the 98 SE run takes the second key, the Japanese device holds entry #1.
    EXPECT_NE(alone[0].find("<- the device"), std::string::npos) << alone[0];
    EXPECT_NE(alone[1].find("\"matchedEntry\":1"), std::string::npos) << alone[1];

    const int kRounds = 25;
    std::vector<std::vector<std::string>> seen(jobs.size());
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 2; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                for (std::size_t j = t; j < jobs.size(); j += 2)
                    seen[j].push_back(Keycheck(jobs[j]));
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        ASSERT_EQ(seen[j].size(), static_cast<std::size_t>(kRounds));
        for (const std::string& output : seen[j])
            EXPECT_EQ(output, alone[j]) << jobs[j][0];
    }
}
}  // namespace
