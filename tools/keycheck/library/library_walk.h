// The folders of a driver library worth surveying: those that hold an INF or a TXTSETUP.OEM.
//
// Thread rule: a pure function of the tree; any thread.
#pragma once

#include <string>
#include <vector>

struct LibraryFolder {
    std::string folder;   // below the library, with "/" between names; "" for its root
    std::string trouble;  // why it could not be listed, or ""
};

// Every folder under root that holds an INF or TXTSETUP.OEM (names compared without regard to
// ASCII case), or that cannot be listed, in the byte order of their paths. Links to folders are
// not followed, so a link that loops is never walked; a link to a file counts as the file.
// False, with error, when root itself is no folder.
bool WalkLibrary(const std::string& root, std::vector<LibraryFolder>& folders, std::string& error);
