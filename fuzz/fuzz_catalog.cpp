// libFuzzer target: bytes through keycheck's catalog reader (the DER of the envelope, the trust
// list and the certificates, OpenSSL's) and through the PE image hash.
//
// Checks beyond "no crash": the same bytes read twice give the same catalog; a catalog read has
// no problem and one not read has one; the image hash's ranges lie inside the file, each one
// non-empty and after the checksum's four bytes are left out; the digests of the same stream
// taken twice are the same.
#include "fuzz/reg_tree_dump.h"
#include "tools/keycheck/catalog/catalog.h"
#include "tools/keycheck/catalog/file_digest.h"
#include "tools/keycheck/catalog/pe_image.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {
std::string Described(const Catalog& catalog) {
    std::string text = (catalog.read ? "read " : "not read ") + catalog.problem + "\n";
    for (const CatalogMember& member : catalog.members)
        text +=
            member.tag + " " + HexOf(member.hash) + " " + member.file + " " + member.osAttr + "\n";
    for (const CatalogSigner& signer : catalog.signers)
        text += std::to_string(signer.signatureValid) + " " + std::to_string(signer.chain.size()) +
                "\n";
    return text;
}

std::string Digests(const std::string& bytes) {
    std::istringstream in(bytes);
    FileDigests digests;
    std::string error;
    const bool read = DigestFile(in, bytes.size(), true, true, digests, error);
    return std::to_string(read) + HexOf(digests.sha1) + HexOf(digests.sha256) + digests.problem;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const Catalog catalog = ReadCatalog(bytes);
    FuzzRequire(catalog.read == catalog.problem.empty(), "catalog",
                "a catalog read with a problem, or not read without one");
    FuzzRequire(Described(catalog) == Described(ReadCatalog(bytes)), "catalog",
                "the same bytes read twice give another catalog");

    std::vector<ByteRange> ranges;
    std::string why;
    if (PeImageRanges(bytes, bytes.size(), ranges, why)) {
        for (const ByteRange& range : ranges)
            FuzzRequire(range.begin < range.end && range.end <= bytes.size(), "catalog",
                        "an image hash range outside the file or empty");
        FuzzRequire(!ranges.empty() && ranges[0].begin == 0, "catalog",
                    "an image hash that does not start at the file's start");
    }
    FuzzRequire(Digests(bytes) == Digests(bytes), "catalog", "the same stream gives other digests");
    return 0;
}
