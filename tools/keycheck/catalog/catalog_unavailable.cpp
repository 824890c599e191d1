// Catalogs in a build without OpenSSL (keycheck.exe): none is read, and each says so.
#include "tools/keycheck/catalog/catalog.h"
#include "tools/keycheck/catalog/file_digest.h"

bool CatalogsReadable() {
    return false;
}

Catalog ReadCatalog(const std::string&) {
    Catalog catalog;
    catalog.problem = "this keycheck reads no catalogs (the Debian build reads them, through "
                      "OpenSSL)";
    return catalog;
}

std::string DigestBytes(const std::string&, DigestKind) {
    return "";
}

bool DigestFile(std::istream&, std::uint64_t, bool, bool, FileDigests&, std::string& error) {
    error = "this keycheck takes no digests (the Debian build does, through OpenSSL)";
    return false;
}
