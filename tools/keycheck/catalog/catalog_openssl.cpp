// Catalogs and digests through OpenSSL (Debian's libssl-dev): the DER of the PKCS#7 envelope, of
// the trust list and of the certificates, the signature and the digests are all OpenSSL's; what
// is keycheck's own is which element of the trust list means what.
#include "tools/keycheck/catalog/catalog.h"
#include "tools/keycheck/catalog/file_digest.h"
#include "tools/keycheck/catalog/pe_image.h"

#include "tools/keycheck/text/code_page.h"

#include <openssl/asn1.h>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>
#include <vector>

namespace {
// The object identifiers of Microsoft's catalogs (wincrypt.h, mssip.h, mscat.h).
const char* const kCtl = "1.3.6.1.4.1.311.10.1";            // szOID_CTL
const char* const kCatalogList = "1.3.6.1.4.1.311.12.1.1";  // szOID_CATALOG_LIST
const char* const kIndirectData = "1.3.6.1.4.1.311.2.1.4";  // SPC_INDIRECT_DATA_OBJID
const char* const kPeImageData = "1.3.6.1.4.1.311.2.1.15";  // SPC_PE_IMAGE_DATAOBJ
const char* const kNameValue = "1.3.6.1.4.1.311.12.2.1";    // CAT_NAMEVALUE_OBJID
const char* const kWhqlUsage = "1.3.6.1.4.1.311.10.3.5";    // szOID_WHQL_CRYPTO
// A catalog larger than this is no driver package's; refused before it is parsed.
const std::size_t kMaxCatalogBytes = 64u << 20;
const std::size_t kChunk = 1u << 20;

struct Free {
    void operator()(PKCS7* p) const { PKCS7_free(p); }
    void operator()(BIO* p) const { BIO_free_all(p); }
    void operator()(EVP_MD_CTX* p) const { EVP_MD_CTX_free(p); }
    void operator()(EXTENDED_KEY_USAGE* p) const { EXTENDED_KEY_USAGE_free(p); }
    void operator()(ASN1_OBJECT* p) const { ASN1_OBJECT_free(p); }
};
template <typename T> using Owned = std::unique_ptr<T, Free>;

struct Unreadable {
    std::string what;
};

std::string OidOf(const ASN1_OBJECT* object) {
    char text[128];
    const int length = OBJ_obj2txt(text, sizeof text, object, 1);
    return length > 0 && static_cast<std::size_t>(length) < sizeof text ? text : "";
}

// One DER element inside the trust list, read in place: its tag and its value's bytes.
struct Element {
    int tag = -1;
    int cls = 0;
    const unsigned char* value = nullptr;
    long length = 0;

    bool Is(int universalTag) const { return cls == V_ASN1_UNIVERSAL && tag == universalTag; }
    std::string Text() const {
        return std::string(reinterpret_cast<const char*>(value), static_cast<std::size_t>(length));
    }
};

// The elements of a SEQUENCE or SET, one after the other, read by OpenSSL's ASN1_get_object
// without copying them; a catalog has thousands, and copying each level again costs more than
// hashing the files.
class Elements {
public:
    explicit Elements(const Element& outer)
        : m_at(outer.value), m_end(outer.value + outer.length) {}

    bool Next(Element& element) {
        if (m_at == m_end)
            return false;
        long length = 0;
        int tag = 0, cls = 0;
        const long left = static_cast<long>(m_end - m_at);
        const int read = ASN1_get_object(&m_at, &length, &tag, &cls, left);
        // 0x80: a broken or cut-short header; 0x21: an indefinite length, which DER never has.
        if ((read & 0x80) != 0 || read == 0x21 || length > m_end - m_at)
            throw Unreadable{"a damaged trust list"};
        element = Element{tag, cls, m_at, length};
        m_at += length;
        return true;
    }

    // The next element, which must be there.
    Element Take(const char* missing) {
        Element element;
        if (!Next(element))
            throw Unreadable{missing};
        return element;
    }

private:
    const unsigned char* m_at;
    const unsigned char* m_end;
};

// The value bytes of an OBJECT IDENTIFIER given in dotted form.
std::string OidValue(const char* dotted) {
    const Owned<ASN1_OBJECT> object(OBJ_txt2obj(dotted, 1));
    return std::string(reinterpret_cast<const char*>(OBJ_get0_data(object.get())),
                       OBJ_length(object.get()));
}

// The object identifiers met inside the trust list, as the bytes of their DER values.
struct KnownOids {
    std::string catalogList = OidValue(kCatalogList);
    std::string indirectData = OidValue(kIndirectData);
    std::string peImageData = OidValue(kPeImageData);
    std::string nameValue = OidValue(kNameValue);
    std::string sha1 = OidValue("1.3.14.3.2.26");
    std::string sha256 = OidValue("2.16.840.1.101.3.4.2.1");
};

const KnownOids& Known() {
    static const KnownOids known;
    return known;
}

bool IsOid(const Element& element, const std::string& value) {
    return element.Is(V_ASN1_OBJECT) && static_cast<std::size_t>(element.length) == value.size() &&
           value.compare(0, value.size(), reinterpret_cast<const char*>(element.value),
                         value.size()) == 0;
}

// A BMPString or an OCTET STRING of UTF-16LE text, up to its NUL, as ASCII (names and hex).
std::string Utf16Text(const Element& text, bool bigEndian) {
    std::string little;
    for (long i = 0; i + 1 < text.length; i += 2) {
        const char low = static_cast<char>(bigEndian ? text.value[i + 1] : text.value[i]);
        const char high = static_cast<char>(bigEndian ? text.value[i] : text.value[i + 1]);
        if (low == '\0' && high == '\0')
            break;
        little += low;
        little += high;
    }
    return Utf16ToUtf8(little);
}

DigestKind KindOf(const ASN1_OBJECT* algorithm) {
    switch (OBJ_obj2nid(algorithm)) {
    case NID_sha1:
        return DigestKind::Sha1;
    case NID_sha256:
        return DigestKind::Sha256;
    case NID_md5:
        return DigestKind::Md5;
    default:
        return DigestKind::Other;
    }
}

DigestKind KindOf(const Element& algorithm) {
    return IsOid(algorithm, Known().sha1)     ? DigestKind::Sha1
           : IsOid(algorithm, Known().sha256) ? DigestKind::Sha256
                                              : DigestKind::Other;
}

// CatNameValue ::= SEQUENCE { tag BMPString, flags INTEGER, value OCTET STRING }
std::pair<std::string, std::string> NameValue(const Element& sequence) {
    Elements parts(sequence);
    Element tag, flags, value;
    if (!sequence.Is(V_ASN1_SEQUENCE) || !parts.Next(tag) || !parts.Next(flags) ||
        !parts.Next(value) || !tag.Is(V_ASN1_BMPSTRING) || !value.Is(V_ASN1_OCTET_STRING))
        throw Unreadable{"a name-value attribute of another form"};
    return {Utf16Text(tag, true), Utf16Text(value, false)};
}

// SpcIndirectDataContent ::= SEQUENCE { data SEQUENCE { type OID, value ANY OPTIONAL },
//                                       messageDigest SEQUENCE { AlgorithmIdentifier, OCTET } }
void IndirectData(const Element& sequence, CatalogMember& member) {
    Elements parts(sequence);
    Element data, digest;
    if (!parts.Next(data) || !parts.Next(digest) || !data.Is(V_ASN1_SEQUENCE) ||
        !digest.Is(V_ASN1_SEQUENCE))
        throw Unreadable{"a member's indirect data of another form"};
    Element type;
    member.peImage = Elements(data).Next(type) && IsOid(type, Known().peImageData);
    Elements info(digest);
    Element algorithm, hash, name;
    if (!info.Next(algorithm) || !info.Next(hash) || !algorithm.Is(V_ASN1_SEQUENCE) ||
        !hash.Is(V_ASN1_OCTET_STRING) || !Elements(algorithm).Next(name) || !name.Is(V_ASN1_OBJECT))
        throw Unreadable{"a member's digest of another form"};
    member.digest = KindOf(name);
    member.hash = hash.Text();
}

// TrustedSubject ::= SEQUENCE { subjectIdentifier OCTET STRING, attributes SET OF Attribute },
// Attribute ::= SEQUENCE { type OID, values SET OF ANY }.
CatalogMember Member(const Element& sequence) {
    Elements parts(sequence);
    Element tag;
    if (!sequence.Is(V_ASN1_SEQUENCE) || !parts.Next(tag) || !tag.Is(V_ASN1_OCTET_STRING))
        throw Unreadable{"a member without its tag"};
    CatalogMember member;
    member.tag = Utf16Text(tag, false);
    Element attributes;
    if (!parts.Next(attributes))
        return member;
    if (!attributes.Is(V_ASN1_SET))
        throw Unreadable{"a member's attributes of another form"};
    Elements set(attributes);
    for (Element attribute; set.Next(attribute);) {
        Elements pair(attribute);
        Element type, values;
        if (!attribute.Is(V_ASN1_SEQUENCE) || !pair.Next(type) || !pair.Next(values) ||
            !type.Is(V_ASN1_OBJECT) || !values.Is(V_ASN1_SET))
            throw Unreadable{"an attribute of another form"};
        Elements each(values);
        for (Element value; each.Next(value);) {
            if (!value.Is(V_ASN1_SEQUENCE))
                continue;
            if (IsOid(type, Known().indirectData)) {
                IndirectData(value, member);
            } else if (IsOid(type, Known().nameValue)) {
                const auto nameValue = NameValue(value);
                if (nameValue.first == "File")
                    member.file = nameValue.second;
                else if (nameValue.first == "OSAttr")
                    member.osAttr = nameValue.second;
            }
        }
    }
    return member;
}

// The catalog's own attributes: [0] EXPLICIT SEQUENCE OF Extension { OID, [BOOLEAN], OCTET }.
void Extensions(const Element& explicitly, Catalog& catalog) {
    Element list;
    if (!Elements(explicitly).Next(list) || !list.Is(V_ASN1_SEQUENCE))
        throw Unreadable{"a catalog attribute of another form"};
    Elements extensions(list);
    for (Element extension; extensions.Next(extension);) {
        Elements parts(extension);
        Element oid, value;
        if (!extension.Is(V_ASN1_SEQUENCE) || !parts.Next(oid))
            throw Unreadable{"a catalog attribute of another form"};
        for (Element next; parts.Next(next);)
            value = next;
        if (!oid.Is(V_ASN1_OBJECT) || !value.Is(V_ASN1_OCTET_STRING))
            throw Unreadable{"a catalog attribute of another form"};
        if (IsOid(oid, Known().nameValue)) {
            // The OCTET STRING wraps the name-value pair's own DER.
            Element wrapped{V_ASN1_OCTET_STRING, V_ASN1_UNIVERSAL, value.value, value.length};
            catalog.attributes.push_back(
                NameValue(Elements(wrapped).Take("a catalog attribute of another form")));
        }
    }
}

// CertificateTrustList ::= SEQUENCE { version INTEGER OPTIONAL, subjectUsage SEQUENCE OF OID,
//   listIdentifier OCTET STRING OPTIONAL, sequenceNumber INTEGER OPTIONAL, thisUpdate Time,
//   nextUpdate Time OPTIONAL, subjectAlgorithm AlgorithmIdentifier,
//   trustedSubjects SEQUENCE OF TrustedSubject OPTIONAL, extensions [0] EXPLICIT OPTIONAL }
void TrustList(const Element& sequence, Catalog& catalog) {
    Elements list(sequence);
    Element usage = list.Take("a trust list without its usage");
    if (usage.Is(V_ASN1_INTEGER))
        usage = list.Take("a trust list without its usage");
    if (!usage.Is(V_ASN1_SEQUENCE))
        throw Unreadable{"a trust list without its usage"};
    bool catalogList = false;
    Elements usages(usage);
    for (Element oid; usages.Next(oid);)
        catalogList = catalogList || IsOid(oid, Known().catalogList);
    if (!catalogList)
        throw Unreadable{"a trust list that is no catalog's"};
    // Past the optional identifier and number and the times, to the algorithm's SEQUENCE.
    Element element;
    while (list.Next(element) && !element.Is(V_ASN1_SEQUENCE)) {
    }
    while (list.Next(element)) {
        if (element.Is(V_ASN1_SEQUENCE)) {
            Elements subjects(element);
            for (Element subject; subjects.Next(subject);)
                catalog.members.push_back(Member(subject));
        } else if (element.cls == V_ASN1_CONTEXT_SPECIFIC && element.tag == 0) {
            Extensions(element, catalog);
        }
    }
}

// The name's common name, or the whole name in one line where it has none.
std::string NameText(const X509_NAME* name) {
    const int index = X509_NAME_get_index_by_NID(name, NID_commonName, -1);
    if (index >= 0) {
        unsigned char* utf8 = nullptr;
        const int length =
            ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, index)));
        if (length >= 0) {
            const std::string text(reinterpret_cast<const char*>(utf8),
                                   static_cast<std::size_t>(length));
            OPENSSL_free(utf8);
            return text;
        }
    }
    char line[256];
    X509_NAME_oneline(name, line, sizeof line);
    return line;
}

CatalogCertificate Certificate(X509* certificate) {
    CatalogCertificate described;
    described.subject = NameText(X509_get_subject_name(certificate));
    described.issuer = NameText(X509_get_issuer_name(certificate));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(certificate, EVP_sha1(), digest, &length) == 1)
        described.thumbprint = HexOf(std::string(reinterpret_cast<char*>(digest), length));
    const Owned<EXTENDED_KEY_USAGE> usages(static_cast<EXTENDED_KEY_USAGE*>(
        X509_get_ext_d2i(certificate, NID_ext_key_usage, nullptr, nullptr)));
    for (int i = 0; usages != nullptr && i < sk_ASN1_OBJECT_num(usages.get()); ++i)
        described.whqlUsage =
            described.whqlUsage || OidOf(sk_ASN1_OBJECT_value(usages.get(), i)) == kWhqlUsage;
    return described;
}

// The issuer of certificate among certificates whose key checks its signature, or null.
X509* IssuerOf(X509* certificate, STACK_OF(X509) * certificates) {
    for (int i = 0; i < sk_X509_num(certificates); ++i) {
        X509* candidate = sk_X509_value(certificates, i);
        if (candidate == certificate || X509_check_issued(candidate, certificate) != X509_V_OK)
            continue;
        EVP_PKEY* key = X509_get0_pubkey(candidate);
        if (key != nullptr && X509_verify(certificate, key) == 1)
            return candidate;
    }
    return nullptr;
}

// The signer's signature over the content octets of the trust list: PKCS #7 (RFC 2315, 9.3)
// digests the content's value without its tag and length, and then signs the authenticated
// attributes, whose messageDigest must be that digest.
CatalogSigner Signer(PKCS7* p7, PKCS7_SIGNER_INFO* info, const std::string& content) {
    CatalogSigner signer;
    X509_ALGOR* algorithm = nullptr;
    PKCS7_SIGNER_INFO_get0_algs(info, nullptr, &algorithm, nullptr);
    const ASN1_OBJECT* oid = nullptr;
    if (algorithm != nullptr)
        X509_ALGOR_get0(&oid, nullptr, nullptr, algorithm);
    signer.digest = oid != nullptr ? KindOf(oid) : DigestKind::Other;
    STACK_OF(X509)* certificates = p7->d.sign->cert;
    X509* certificate =
        certificates == nullptr
            ? nullptr
            : X509_find_by_issuer_and_serial(certificates, info->issuer_and_serial->issuer,
                                             info->issuer_and_serial->serial);
    if (certificate == nullptr) {
        signer.problem = "the catalog does not hold the signer's certificate";
        return signer;
    }
    const EVP_MD* digest = oid != nullptr ? EVP_get_digestbyobj(oid) : nullptr;
    if (digest == nullptr) {
        signer.problem = "a digest OpenSSL does not know";
    } else {
        Owned<BIO> chain(BIO_new(BIO_f_md()));
        BIO_set_md(chain.get(), digest);
        BIO_push(chain.get(), BIO_new_mem_buf(content.data(), static_cast<int>(content.size())));
        char sink[4096];
        while (BIO_read(chain.get(), sink, sizeof sink) > 0) {
        }
        signer.signatureValid = PKCS7_signatureVerify(chain.get(), p7, info, certificate) == 1;
        if (!signer.signatureValid)
            signer.problem = "its signature does not match the trust list: the catalog was "
                             "changed after it was signed";
    }
    for (X509* link = certificate; link != nullptr && signer.chain.size() < 16;) {
        signer.chain.push_back(Certificate(link));
        if (X509_check_issued(link, link) == X509_V_OK) {
            signer.chainEndsAtRoot = true;
            break;
        }
        link = IssuerOf(link, certificates);
    }
    return signer;
}

EVP_MD_CTX* NewDigest(const EVP_MD* md) {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    if (context != nullptr && EVP_DigestInit_ex(context, md, nullptr) != 1) {
        EVP_MD_CTX_free(context);
        return nullptr;
    }
    return context;
}

std::string Final(EVP_MD_CTX* context) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context, digest, &length);
    return std::string(reinterpret_cast<char*>(digest), length);
}
}  // namespace

bool CatalogsReadable() {
    return true;
}

Catalog ReadCatalog(const std::string& bytes) {
    Catalog catalog;
    if (bytes.size() > kMaxCatalogBytes) {
        catalog.problem = "larger than any catalog (" + std::to_string(bytes.size()) + " bytes)";
        return catalog;
    }
    const unsigned char* at = reinterpret_cast<const unsigned char*>(bytes.data());
    const Owned<PKCS7> p7(d2i_PKCS7(nullptr, &at, static_cast<long>(bytes.size())));
    if (p7 == nullptr) {
        catalog.problem = bytes.size() < 64 ? "not PKCS#7: " + std::to_string(bytes.size()) +
                                                  " bytes, no signed catalog"
                                            : "not PKCS#7, or cut short";
        return catalog;
    }
    if (!PKCS7_type_is_signed(p7.get()) || p7->d.sign == nullptr ||
        p7->d.sign->contents == nullptr || p7->d.sign->contents->type == nullptr ||
        OidOf(p7->d.sign->contents->type) != kCtl || p7->d.sign->contents->d.other == nullptr ||
        p7->d.sign->contents->d.other->type != V_ASN1_SEQUENCE) {
        catalog.problem = "PKCS#7, but not signed data holding a trust list";
        return catalog;
    }
    const ASN1_STRING* list = p7->d.sign->contents->d.other->value.sequence;
    try {
        // The SEQUENCE OpenSSL keeps whole, header and all: the trust list is its one element.
        const Element whole{V_ASN1_SEQUENCE, V_ASN1_UNIVERSAL, ASN1_STRING_get0_data(list),
                            ASN1_STRING_length(list)};
        const Element trustList = Elements(whole).Take("a cut-short trust list");
        TrustList(trustList, catalog);
        STACK_OF(PKCS7_SIGNER_INFO)* infos = PKCS7_get_signer_info(p7.get());
        const std::string content(reinterpret_cast<const char*>(trustList.value),
                                  static_cast<std::size_t>(trustList.length));
        for (int i = 0; infos != nullptr && i < sk_PKCS7_SIGNER_INFO_num(infos); ++i)
            catalog.signers.push_back(
                Signer(p7.get(), sk_PKCS7_SIGNER_INFO_value(infos, i), content));
    } catch (const Unreadable& unreadable) {
        catalog = Catalog();
        catalog.problem = unreadable.what;
        return catalog;
    }
    catalog.read = true;
    return catalog;
}

std::string DigestBytes(const std::string& bytes, DigestKind kind) {
    const EVP_MD* md = kind == DigestKind::Sha1     ? EVP_sha1()
                       : kind == DigestKind::Sha256 ? EVP_sha256()
                                                    : nullptr;
    if (md == nullptr)
        return "";
    const Owned<EVP_MD_CTX> context(NewDigest(md));
    if (context == nullptr)
        return "";
    EVP_DigestUpdate(context.get(), bytes.data(), bytes.size());
    return Final(context.get());
}

bool DigestFile(std::istream& in, std::uint64_t size, bool sha1, bool sha256, FileDigests& digests,
                std::string& error) {
    digests = FileDigests();
    std::string head;
    for (std::uint64_t needed = PeHeadNeeded(head, size); head.size() < needed;
         needed = PeHeadNeeded(head, size)) {
        head.resize(static_cast<std::size_t>(needed));
        in.seekg(0);
        if (!in.read(&head[0], static_cast<std::streamsize>(needed))) {
            error = "cannot be read";
            return false;
        }
    }
    std::vector<ByteRange> ranges;
    digests.peImage = IsPeImage(head);
    if (digests.peImage && !PeImageRanges(head, size, ranges, digests.problem))
        return true;
    if (!digests.peImage)
        ranges.push_back(ByteRange{0, size});
    const Owned<EVP_MD_CTX> first(sha1 ? NewDigest(EVP_sha1()) : nullptr);
    const Owned<EVP_MD_CTX> second(sha256 ? NewDigest(EVP_sha256()) : nullptr);
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, size)) + 1);
    for (const ByteRange& range : ranges) {
        in.clear();
        in.seekg(static_cast<std::streamoff>(range.begin));
        for (std::uint64_t left = range.end - range.begin; left > 0;) {
            const std::size_t take =
                static_cast<std::size_t>(std::min<std::uint64_t>(left, kChunk));
            if (!in.read(buffer.data(), static_cast<std::streamsize>(take))) {
                error = "cannot be read";
                return false;
            }
            if (first != nullptr)
                EVP_DigestUpdate(first.get(), buffer.data(), take);
            if (second != nullptr)
                EVP_DigestUpdate(second.get(), buffer.data(), take);
            left -= take;
        }
    }
    if (first != nullptr)
        digests.sha1 = Final(first.get());
    if (second != nullptr)
        digests.sha256 = Final(second.get());
    return true;
}
