// The digests Windows takes of a file to look it up in a catalog: of its PE image where the file
// is one (CryptCATAdminCalcHashFromFileHandle, through the PE subject interface package), else of
// all its bytes.
//
// Thread rule: any thread; each call reads its own stream.
#pragma once

#include "tools/keycheck/catalog/catalog.h"

#include <cstdint>
#include <istream>
#include <string>

struct FileDigests {
    bool peImage = false;
    std::string problem;       // a PE image whose headers lie: no image digest, and why
    std::string sha1, sha256;  // the digests' bytes, of the kinds asked for
};

// Reads in (size bytes) once, taking the digests of the kinds asked for. False, with error, when
// the stream cannot be read or this build takes no digests.
bool DigestFile(std::istream& in, std::uint64_t size, bool sha1, bool sha256, FileDigests& digests,
                std::string& error);

// The digest of bytes of that kind (SHA-1 or SHA-256); empty in a build that takes none.
std::string DigestBytes(const std::string& bytes, DigestKind kind);

// Bytes as upper-case hex, as Windows shows a hash.
std::string HexOf(const std::string& bytes);
