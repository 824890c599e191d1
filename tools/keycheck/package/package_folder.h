// Copies a driver package folder of this computer into the fake machine at a Windows path.
#pragma once

#include <string>

class CFakeOs;

// Adds every file below folder, with its bytes, to machine under dir (a Windows folder path
// ending in a backslash). On failure returns false with a one-line error naming the folder
// or file.
bool LoadPackageFolder(const std::string& folder, const std::string& dir, CFakeOs& machine,
                       std::string& error);
