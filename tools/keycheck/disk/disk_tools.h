// The Debian tools keycheck's disk images are made and read with: mtools (FAT images without
// root), dosfstools' fsck.fat, xorriso (ISO 9660 with Joliet, from libisofs) and bsdtar (from
// libarchive, which reads Joliet as Windows does).
#pragma once

#include <string>
#include <vector>

// Runs argv (the program found on PATH) with SOURCE_DATE_EPOCH set to 2000-01-01, so that what
// it writes carries fixed times; returns its exit status (-1 when it could not start) and puts
// the last line it wrote to standard error in *said.
int RunTool(const std::vector<std::string>& argv, std::string* said = nullptr);

// A new empty folder for an image's files, under the system's temporary folder; "" when none
// can be made (and in the Windows build, which reads no images).
std::string MakeScratchFolder();

// Whether every tool is on PATH; error names the first one missing and its Debian package.
bool DiskToolsPresent(std::string& error);
