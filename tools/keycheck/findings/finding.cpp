// One finding, warning or note of any verb, the list that gathers them, and the exit status.
#include "tools/keycheck/findings/finding.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/text/ascii_case.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {
unsigned VersionBit(OsType version) {
    for (std::size_t i = 0; i < std::size(kInfVersions); ++i) {
        if (version == kInfVersions[i])
            return 1u << i;
    }
    return 0;
}

const unsigned kAllVersions = (1u << std::size(kInfVersions)) - 1;
}  // namespace

Finding MakeFinding(Code code, std::string file, int line, std::string text) {
    Finding finding{code, std::move(file), line, Describe(code).severity, {}, std::move(text)};
    return finding;
}

int ExitStatus(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Finding; })
               ? 1
               : 0;
}

std::vector<const Finding*> OfSeverity(const std::vector<Finding>& findings, Severity severity) {
    std::vector<const Finding*> chosen;
    for (const Finding& finding : findings) {
        if (finding.severity == severity)
            chosen.push_back(&finding);
    }
    return chosen;
}

void FindingList::Add(Finding finding, OsType version) {
    Key key{finding.code, AsciiUpper(finding.file), finding.line, AsciiUpper(finding.text)};
    const auto found = m_seen.emplace(std::move(key), m_list.size());
    if (found.second) {
        finding.versions.clear();
        m_list.push_back(std::move(finding));
        m_versions.push_back(0);
    }
    m_versions[found.first->second] |= VersionBit(version);
}

void FindingList::AddForAll(const Finding& finding) {
    for (OsType version : kInfVersions)
        Add(finding, version);
}

void FindingList::AddSaid(const Finding& finding) {
    for (OsType version : kInfVersions) {
        if (finding.versions.empty() || std::find(finding.versions.begin(), finding.versions.end(),
                                                  VersionOption(version)) != finding.versions.end())
            Add(finding, version);
    }
}

std::vector<Finding> FindingList::Take() {
    for (std::size_t i = 0; i < m_list.size(); ++i) {
        if (m_versions[i] == kAllVersions)
            continue;
        for (OsType version : kInfVersions) {
            if (m_versions[i] & VersionBit(version))
                m_list[i].versions.push_back(VersionOption(version));
        }
    }
    std::vector<Finding> taken = std::move(m_list);
    *this = FindingList();
    return taken;
}
