// One finding, warning or note of any verb, the list that gathers them across Windows
// versions, and the exit status they give.
//
// Thread rule: values; a FindingList belongs to the thread that fills it.
#pragma once

#include "osinfo/os_type.h"
#include "tools/keycheck/findings/codes.h"

#include <map>
#include <string>
#include <tuple>
#include <vector>

struct Finding {
    Code code;
    std::string file;  // as the package names it: "key.ini", "drv\hx5820.inf", "TXTSETUP.OEM"
    int line = 0;      // from 1; 0 when it is about the whole file
    Severity severity = Severity::Finding;  // the code's
    // The --os names it holds for, in the order of kInfVersions; empty: every version that
    // reads the file.
    std::vector<std::string> versions;
    std::string text;
    int offset = -1;        // the byte in key.ini it is about, or -1
    std::string section{};  // the INF section it stands in, as written; empty: the whole file
};

// A finding of code, with the code's severity.
Finding MakeFinding(Code code, std::string file, int line, std::string text);

// 1 when the list holds a finding, else 0: warnings and notes never change the status.
int ExitStatus(const std::vector<Finding>& findings);

// The findings of severity, in their order, as they stand in findings.
std::vector<const Finding*> OfSeverity(const std::vector<Finding>& findings, Severity severity);

// Gathers what the checks of each version say; one said again for another version is kept
// once, naming each version it holds for. File names and texts compare without regard to
// ASCII case: drv\hx5820.inf and Drv\hx5820.inf are one file on Windows.
class FindingList {
public:
    void Add(Finding finding, OsType version);
    // For every version of kInfVersions.
    void AddForAll(const Finding& finding);
    // For each version finding names (every version when it names none), as another list said it.
    void AddSaid(const Finding& finding);
    // The findings in the order first said, each with its versions (none when all four).
    std::vector<Finding> Take();

private:
    using Key = std::tuple<Code, std::string, int, std::string>;
    std::vector<Finding> m_list;
    std::vector<unsigned> m_versions;  // per finding, a bit for each version of kInfVersions
    std::map<Key, std::size_t> m_seen;
};
