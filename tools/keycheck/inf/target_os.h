// TargetOSVersion decorations of [Manufacturer] entries, and which one Windows XP picks.
#pragma once

#include <string>
#include <vector>

// Of decorations (as written after the models section name), the index of the one Windows
// XP (x86, NT 5.1, a workstation) reads, or -1 when none fits it and it reads the
// undecorated section.
int DecorationXpPicks(const std::vector<std::string>& decorations);

// Whether decoration has the form NT[Architecture][.[Major][.[Minor][.[ProductType][.[SuiteMask]
// [.[BuildNumber]]]]]], each field a number or empty.
bool IsTargetOsDecoration(const std::string& decoration);
