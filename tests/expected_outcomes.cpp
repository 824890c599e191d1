// What the tests expect the launcher to show and copy, from the tests' own files.
#include "tests/expected_outcomes.h"

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace {
// The lines of a file of tests/, without blank lines and # comments.
std::vector<std::string> TableLines(const char* name) {
    const std::string path = std::string(SOURCE_DIR) + "/tests/" + name;
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line))
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, separator))
        fields.push_back(field);
    return fields;
}

std::string Unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

const std::vector<std::pair<std::string, ExpectedBox>>& Boxes() {
    static const std::vector<std::pair<std::string, ExpectedBox>> boxes = [] {
        std::vector<std::pair<std::string, ExpectedBox>> read;
        for (const std::string& line : TableLines("expected_boxes.txt")) {
            const std::vector<std::string> f = Fields(line, '\t');
            if (f.size() != 4)
                throw std::runtime_error("expected_boxes.txt: not four fields: " + line);
            read.push_back(
                {f[0], ExpectedBox{static_cast<std::uint32_t>(std::stoul(f[1], nullptr, 16)), f[2],
                                   Unescaped(f[3])}});
        }
        return read;
    }();
    return boxes;
}
}  // namespace

bool operator==(const ExpectedBox& a, const ExpectedBox& b) {
    return a.type == b.type && a.caption == b.caption && a.text == b.text;
}

std::ostream& operator<<(std::ostream& out, const ExpectedBox& box) {
    return out << "[" << box.caption << "] \"" << box.text << "\" type 0x" << std::hex << box.type
               << std::dec;
}

ExpectedBox Shown(const FakeMessageBox& box) {
    return ExpectedBox{box.type, box.caption, box.text};
}

const ExpectedBox& ExpectedBoxNamed(const std::string& name) {
    for (const auto& box : Boxes())
        if (box.first == name)
            return box.second;
    throw std::invalid_argument("expected_boxes.txt has no box " + name);
}

std::vector<std::string> ExpectedBoxNames() {
    std::vector<std::string> names;
    for (const auto& box : Boxes())
        names.push_back(box.first);
    return names;
}

std::vector<std::pair<std::string, std::string>> ExpectedCopies(const std::string& version) {
    std::vector<std::pair<std::string, std::string>> copies;
    for (const std::string& line : TableLines("copy_lists_expected.txt")) {
        std::istringstream words(line);
        std::string which, source, destination;
        if (words >> which >> source >> destination && which == version)
            copies.push_back({source, "\\" + destination});
    }
    return copies;
}
