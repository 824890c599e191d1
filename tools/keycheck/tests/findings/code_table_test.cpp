// The manual's table of codes against the codes keycheck reports: every code in the table, with
// the verbs that say it and its kind, and no code in the table that keycheck does not report.
#include "tools/keycheck/findings/codes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {
struct Row {
    std::string verbs, kind;
};

std::string Trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ');
    return begin == std::string::npos ? "" : text.substr(begin, end - begin + 1);
}

// The rows of the table below the header "| code | verb | kind |", by code.
std::map<std::string, Row> ManualTable() {
    std::ifstream manual(std::string(SOURCE_DIR) + "/tools/keycheck/README.md");
    std::map<std::string, Row> rows;
    std::string line;
    bool inTable = false;
    while (std::getline(manual, line)) {
        if (line.rfind("| code | verb | kind |", 0) == 0) {
            inTable = true;
            continue;
        }
        if (!inTable || line.rfind("|---", 0) == 0)
            continue;
        if (line.rfind("| `", 0) != 0)
            break;
        std::vector<std::string> cells;
        std::stringstream cut(line.substr(1));
        for (std::string cell; std::getline(cut, cell, '|');)
            cells.push_back(Trimmed(cell));
        EXPECT_GE(cells.size(), 4u) << line;
        if (cells.size() < 4)
            continue;
        for (std::size_t open = cells[0].find('`'); open != std::string::npos;) {
            const std::size_t close = cells[0].find('`', open + 1);
            const std::string code = cells[0].substr(open + 1, close - open - 1);
            EXPECT_EQ(rows.count(code), 0u) << code << " is in the table twice";
            rows[code] = Row{cells[1], cells[2]};
            open = cells[0].find('`', close + 1);
        }
    }
    return rows;
}

TEST(CodeTableTest, TheManualsTableHoldsEveryCodeAsKeycheckReportsIt) {
    std::map<std::string, Row> table = ManualTable();
    ASSERT_FALSE(table.empty()) << "no table of codes in tools/keycheck/README.md";
    for (std::size_t i = 0; i < kCodeCount; ++i) {
        const CodeInfo& code = kCodes[i];
        const auto row = table.find(code.name);
        if (row == table.end()) {
            ADD_FAILURE() << code.name << " is missing from the manual's table of codes";
            continue;
        }
        EXPECT_EQ(row->second.verbs, code.verbs) << code.name;
        EXPECT_EQ(row->second.kind, SeverityName(code.severity)) << code.name;
        table.erase(row);
    }
    for (const auto& left : table)
        ADD_FAILURE() << "the manual's table names " << left.first
                      << ", which keycheck never reports";
}

}  // namespace
