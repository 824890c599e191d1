// An INF file's text cut into logical lines: comments dropped, continued lines joined.
#pragma once

#include <string>
#include <vector>

struct InfRawLine {
    int line;          // the first physical line it comes from, counting from 1
    std::string text;  // without its comment and continuation marks; blank lines are left out
    bool unclosedQuote = false;  // a double quote opened in it is never closed
};

std::vector<InfRawLine> JoinInfLines(const std::string& text);
