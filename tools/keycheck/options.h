// The command line of keycheck: its two commands and their options.
#pragma once

#include <string>
#include <vector>

enum class Command { Help, Lint, Predict };

struct Options {
    Command command = Command::Help;
    std::string package;  // the package folder on this computer
    std::string os;       // predict: an --os name
    std::string registry;
    std::string windowsDir = "C:\\WINDOWS";
    std::string dir = "D:\\";  // the package's Windows folder
    int codePage = 1252;
    bool json = false;
};

extern const char* const kUsage;

// On failure returns false with a one-line error.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);
