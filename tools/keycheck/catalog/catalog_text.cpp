// What every build says of a catalog's parts: names of digests, the members found by hash.
#include "tools/keycheck/catalog/catalog.h"
#include "tools/keycheck/catalog/file_digest.h"

#include "tools/keycheck/text/ascii_case.h"

const char* DigestName(DigestKind kind) {
    switch (kind) {
    case DigestKind::Sha1:
        return "SHA-1";
    case DigestKind::Sha256:
        return "SHA-256";
    case DigestKind::Md5:
        return "MD5";
    default:
        return "another digest";
    }
}

const CatalogMember* Catalog::MemberWithHash(DigestKind kind, const std::string& hash) const {
    for (const CatalogMember& member : members) {
        if (member.digest == kind && member.hash == hash)
            return &member;
    }
    return nullptr;
}

std::string Catalog::Attribute(const std::string& name) const {
    for (const auto& attribute : attributes) {
        if (AsciiUpper(attribute.first) == AsciiUpper(name))
            return attribute.second;
    }
    return "";
}

std::string HexOf(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        hex += digits[byte >> 4];
        hex += digits[byte & 0xF];
    }
    return hex;
}
