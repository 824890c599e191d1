// What the tests expect the launcher to show and copy, from the tests' own files: the message
// boxes (tests/expected_boxes.txt) and the Windows 9x copy lists (tests/copy_lists_expected.txt).
#pragma once

#include "sim/fake_os.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct ExpectedBox {
    std::uint32_t type;
    std::string caption;
    std::string text;
};

bool operator==(const ExpectedBox& a, const ExpectedBox& b);
std::ostream& operator<<(std::ostream& out, const ExpectedBox& box);  // for failure messages
// A box the simulated machine showed, to compare with an expected one.
ExpectedBox Shown(const FakeMessageBox& box);

// The box of that name ("unsupported", "no_device_nt", ...); a name the file lacks throws.
const ExpectedBox& ExpectedBoxNamed(const std::string& name);
// Every name the file holds, in its order.
std::vector<std::string> ExpectedBoxNames();

// The copies of version ("me" or "98se"), in order: the file in the package's drv folder and
// its destination below the Windows directory, starting with a backslash.
std::vector<std::pair<std::string, std::string>> ExpectedCopies(const std::string& version);
