// Tables of cases: each row of a parameterised test names itself, and the test is named and
// printed by that name, never by its index or its bytes. A row struct has a `name` member and a
// PrintTo beside it; INSTANTIATE_TEST_SUITE_P takes NamedRow() as its name generator.
#pragma once

#include <gtest/gtest.h>

#include <string>

struct NamedRow {
    template <class Row> std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};

// words ("comma inside quotes") as a test name ("CommaInsideQuotes"): each run of letters and
// digits begins with a capital, everything else is left out.
inline std::string RowIdentifier(const std::string& words) {
    std::string name;
    bool wordStart = true;
    for (char c : words) {
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (alnum)
            name += wordStart && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        wordStart = !alnum;
    }
    return name;
}
