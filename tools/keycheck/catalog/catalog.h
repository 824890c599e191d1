// A driver catalog (.cat) as Windows reads it: a PKCS#7 SignedData whose content is a certificate
// trust list of the files it vouches for, each by its hash, and the signature over that list.
//
// The trust list ("CertificateTrustList", szOID_CTL 1.3.6.1.4.1.311.10.1) holds one entry a member:
// its tag, and as attributes its SPC_INDIRECT_DATA (the hash, and whether it is of a PE image),
// its "File" and "OSAttr" name-value pairs; the catalog's own name-value pairs ("OS", "HWID1"...)
// are extensions of the list. The layout is the one Wine's wintrust tests (dlls/wintrust/tests/
// asn.c: CAT_NAMEVALUE, CAT_MEMBERINFO) and Microsoft's "Windows Authenticode Portable
// Executable Signature Format" give.
//
// Thread rule: values; reading touches nothing shared.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

enum class DigestKind { Sha1, Sha256, Md5, Other };

// "SHA-1", "SHA-256", "MD5" or "another digest".
const char* DigestName(DigestKind kind);

struct CatalogMember {
    std::string tag;  // the member's reference tag, as Windows lists it
    DigestKind digest = DigestKind::Other;
    std::string hash;      // the digest's bytes
    bool peImage = false;  // the hash is of a PE image (SPC_PE_IMAGE_DATA), else of the whole file
    std::string file;      // its "File" attribute, or ""
    std::string osAttr;    // its "OSAttr" attribute ("2:5.1,2:5.00"), or ""
};

struct CatalogCertificate {
    std::string subject;     // its common name, or the whole name where it has none
    std::string issuer;      // the same of its issuer
    std::string thumbprint;  // SHA-1 of the certificate, upper-case hex, as Windows shows it
    bool whqlUsage = false;  // its extended key usage holds 1.3.6.1.4.1.311.10.3.5
};

struct CatalogSigner {
    DigestKind digest = DigestKind::Other;  // the signature's digest
    bool signatureValid = false;  // the signature over the trust list checks out with its key
    std::string problem;          // why not, when it does not
    // The signer's certificate first, then each issuer the catalog holds, as far as each one's
    // signature over the one below checks out.
    std::vector<CatalogCertificate> chain;
    bool chainEndsAtRoot = false;  // the last one is self-signed
};

struct Catalog {
    bool read = false;    // a PKCS#7 SignedData holding a catalog's trust list
    std::string problem;  // why it is not one: "not PKCS#7", "cut short", "no trust list"...
    std::vector<CatalogMember> members;
    std::vector<std::pair<std::string, std::string>> attributes;  // the catalog's own ("OS", ...)
    std::vector<CatalogSigner> signers;

    // The member whose hash is hash, of that kind, or null.
    const CatalogMember* MemberWithHash(DigestKind kind, const std::string& hash) const;
    // The value of the catalog's attribute of that name (without regard to ASCII case), or "".
    std::string Attribute(const std::string& name) const;
};

// Whether this build reads catalogs (the Debian build, through OpenSSL); keycheck.exe does not.
bool CatalogsReadable();

// Reads a catalog's bytes. Never throws: what cannot be read says why in problem.
Catalog ReadCatalog(const std::string& bytes);
