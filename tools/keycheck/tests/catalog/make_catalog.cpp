// The tests' catalog builder: a trust list of the members given, in a PKCS#7 SignedData signed
// with the certificate and key given (or by nobody), DER and signature made with OpenSSL. It
// takes each member's hash as given, computed by whoever calls it (the tests' Python with
// hashlib, osslsigncode for a PE image), so that no hash of keycheck's makes a fixture.
//
//   make_catalog OUT.cat [--digest sha1|sha256] [--signer-digest sha1|sha256|md5]
//                [--signer CERT.pem KEY.pem] [--chain CERT.pem]... [--attribute NAME VALUE]...
//                [--member HASH_HEX FILE_NAME OSATTR PE(0|1)]...   (OSATTR "-" for none)
#include <openssl/asn1.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/pem.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {
struct Member {
    std::string hash, file, osAttr;
    bool pe;
};

// One TLV: tag (universal or context-specific, constructed or not) around contents.
std::string Tlv(int tag, int cls, bool constructed, const std::string& contents) {
    const int length = static_cast<int>(contents.size());
    std::string out(static_cast<std::size_t>(ASN1_object_size(constructed ? 1 : 0, length, tag)),
                    '\0');
    unsigned char* at = reinterpret_cast<unsigned char*>(&out[0]);
    ASN1_put_object(&at, constructed ? 1 : 0, length, tag, cls);
    const std::size_t header =
        static_cast<std::size_t>(at - reinterpret_cast<unsigned char*>(&out[0]));
    out.replace(header, contents.size(), contents);
    return out;
}

std::string Sequence(const std::vector<std::string>& parts) {
    std::string contents;
    for (const std::string& part : parts)
        contents += part;
    return Tlv(V_ASN1_SEQUENCE, V_ASN1_UNIVERSAL, true, contents);
}

std::string Set(const std::vector<std::string>& parts) {
    std::string contents;
    for (const std::string& part : parts)
        contents += part;
    return Tlv(V_ASN1_SET, V_ASN1_UNIVERSAL, true, contents);
}

std::string Oid(const char* text) {
    ASN1_OBJECT* object = OBJ_txt2obj(text, 1);
    unsigned char* der = nullptr;
    const int length = i2d_ASN1_OBJECT(object, &der);
    const std::string out(reinterpret_cast<char*>(der), static_cast<std::size_t>(length));
    OPENSSL_free(der);
    ASN1_OBJECT_free(object);
    return out;
}

std::string Integer(long value) {
    ASN1_INTEGER* integer = ASN1_INTEGER_new();
    ASN1_INTEGER_set(integer, value);
    unsigned char* der = nullptr;
    const int length = i2d_ASN1_INTEGER(integer, &der);
    const std::string out(reinterpret_cast<char*>(der), static_cast<std::size_t>(length));
    OPENSSL_free(der);
    ASN1_INTEGER_free(integer);
    return out;
}

std::string Octets(const std::string& bytes) {
    return Tlv(V_ASN1_OCTET_STRING, V_ASN1_UNIVERSAL, false, bytes);
}

// ASCII as UTF-16, little-endian (an OCTET STRING's text) or big-endian (a BMPString).
std::string Utf16(const std::string& text, bool bigEndian, bool nul) {
    std::string out;
    for (const char c : text + (nul ? std::string(1, '\0') : std::string()))
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
}

std::string NameValue(const std::string& name, const std::string& value) {
    return Sequence({Tlv(V_ASN1_BMPSTRING, V_ASN1_UNIVERSAL, false, Utf16(name, true, false)),
                     Integer(0x10010001), Octets(Utf16(value, false, true))});
}

std::string Attribute(const char* oid, const std::string& value) {
    return Sequence({Oid(oid), Set({value})});
}

std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string TrustList(const std::vector<Member>& members,
                      const std::vector<std::pair<std::string, std::string>>& attributes,
                      const char* digestOid) {
    std::vector<std::string> subjects;
    for (const Member& member : members) {
        const std::string data =
            Sequence({Oid(member.pe ? "1.3.6.1.4.1.311.2.1.15" : "1.3.6.1.4.1.311.2.1.25")});
        const std::string digest =
            Sequence({Sequence({Oid(digestOid), Tlv(V_ASN1_NULL, V_ASN1_UNIVERSAL, false, "")}),
                      Octets(Unhex(member.hash))});
        // MemberInfo as makecat writes it: the subject interface package that hashed the file
        // (the PE image one, or the flat-file one) and the version 512.
        const std::string sip = member.pe ? "{C689AAB8-8E78-11D0-8C47-00C04FC295EE}"
                                          : "{DE351A42-8E59-11D0-8C47-00C04FC295EE}";
        std::vector<std::string> attrs{
            Attribute("1.3.6.1.4.1.311.2.1.4", Sequence({data, digest})),
            Attribute("1.3.6.1.4.1.311.12.2.2", Sequence({Tlv(V_ASN1_BMPSTRING, V_ASN1_UNIVERSAL,
                                                              false, Utf16(sip, true, false)),
                                                          Integer(512)})),
            Attribute("1.3.6.1.4.1.311.12.2.1", NameValue("File", member.file))};
        if (!member.osAttr.empty())
            attrs.push_back(
                Attribute("1.3.6.1.4.1.311.12.2.1", NameValue("OSAttr", member.osAttr)));
        std::string tag;
        for (const char c : member.hash)
            tag += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        subjects.push_back(Sequence({Octets(Utf16(tag, false, true)), Set(attrs)}));
    }
    std::vector<std::string> extensions;
    for (const auto& attribute : attributes)
        extensions.push_back(Sequence(
            {Oid("1.3.6.1.4.1.311.12.2.1"), Octets(NameValue(attribute.first, attribute.second))}));
    std::vector<std::string> parts{
        Sequence({Oid("1.3.6.1.4.1.311.12.1.1")}), Octets("0123456789ABCDEF"),
        Tlv(V_ASN1_UTCTIME, V_ASN1_UNIVERSAL, false, "000101000000Z"),
        Sequence({Oid("1.3.6.1.4.1.311.12.1.2"), Tlv(V_ASN1_NULL, V_ASN1_UNIVERSAL, false, "")})};
    if (!subjects.empty())
        parts.push_back(Sequence(subjects));
    if (!extensions.empty())
        parts.push_back(Tlv(0, V_ASN1_CONTEXT_SPECIFIC, true, Sequence(extensions)));
    return Sequence(parts);
}

X509* ReadCertificate(const char* path) {
    FILE* file = std::fopen(path, "r");
    X509* certificate = file == nullptr ? nullptr : PEM_read_X509(file, nullptr, nullptr, nullptr);
    if (file != nullptr)
        std::fclose(file);
    return certificate;
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "make_catalog: %s\n", what.c_str());
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Fail("usage: make_catalog OUT.cat [options]");
    const char* out = argv[1];
    std::string digest = "sha1", signerDigest;
    const char *certificatePath = nullptr, *keyPath = nullptr;
    std::vector<const char*> chain;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<Member> members;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const int left = argc - i - 1;
        if (arg == "--digest" && left >= 1) {
            digest = argv[++i];
        } else if (arg == "--signer-digest" && left >= 1) {
            signerDigest = argv[++i];
        } else if (arg == "--signer" && left >= 2) {
            certificatePath = argv[++i];
            keyPath = argv[++i];
        } else if (arg == "--chain" && left >= 1) {
            chain.push_back(argv[++i]);
        } else if (arg == "--attribute" && left >= 2) {
            attributes.emplace_back(argv[i + 1], argv[i + 2]);
            i += 2;
        } else if (arg == "--member" && left >= 4) {
            members.push_back(Member{argv[i + 1], argv[i + 2],
                                     std::strcmp(argv[i + 3], "-") == 0 ? "" : argv[i + 3],
                                     std::strcmp(argv[i + 4], "1") == 0});
            i += 4;
        } else {
            return Fail("unknown or incomplete option " + arg);
        }
    }
    if (signerDigest.empty())
        signerDigest = digest;
    const char* digestOid = digest == "sha256" ? "2.16.840.1.101.3.4.2.1" : "1.3.14.3.2.26";
    const std::string list = TrustList(members, attributes, digestOid);

    PKCS7* p7 = PKCS7_new();
    PKCS7_set_type(p7, NID_pkcs7_signed);
    PKCS7* contents = PKCS7_new();
    contents->type = OBJ_txt2obj("1.3.6.1.4.1.311.10.1", 1);
    ASN1_STRING* sequence = ASN1_STRING_new();
    ASN1_STRING_set(sequence, list.data(), static_cast<int>(list.size()));
    contents->d.other = ASN1_TYPE_new();
    ASN1_TYPE_set(contents->d.other, V_ASN1_SEQUENCE, sequence);
    p7->d.sign->contents = contents;
    if (certificatePath != nullptr) {
        X509* certificate = ReadCertificate(certificatePath);
        FILE* keyFile = std::fopen(keyPath, "r");
        EVP_PKEY* key =
            keyFile == nullptr ? nullptr : PEM_read_PrivateKey(keyFile, nullptr, nullptr, nullptr);
        if (keyFile != nullptr)
            std::fclose(keyFile);
        if (certificate == nullptr || key == nullptr)
            return Fail("cannot read the signer's certificate or key");
        const EVP_MD* md = signerDigest == "sha256" ? EVP_sha256()
                           : signerDigest == "md5"  ? EVP_md5()
                                                    : EVP_sha1();
        PKCS7_SIGNER_INFO* info = PKCS7_add_signature(p7, certificate, key, md);
        PKCS7_add_certificate(p7, certificate);
        for (const char* path : chain) {
            X509* link = ReadCertificate(path);
            if (link == nullptr)
                return Fail(std::string("cannot read ") + path);
            PKCS7_add_certificate(p7, link);
            X509_free(link);
        }
        PKCS7_add_signed_attribute(info, NID_pkcs9_contentType, V_ASN1_OBJECT,
                                   OBJ_txt2obj("1.3.6.1.4.1.311.10.1", 1));
        // PKCS #7 digests the content's octets without their tag and length (RFC 2315, 9.3).
        const unsigned char* at = reinterpret_cast<const unsigned char*>(list.data());
        long length = 0;
        int tag = 0, cls = 0;
        ASN1_get_object(&at, &length, &tag, &cls, static_cast<long>(list.size()));
        unsigned char hash[EVP_MAX_MD_SIZE];
        unsigned int hashLength = 0;
        EVP_Digest(at, static_cast<std::size_t>(length), hash, &hashLength, md, nullptr);
        PKCS7_add1_attrib_digest(info, hash, static_cast<int>(hashLength));
        if (PKCS7_SIGNER_INFO_sign(info) != 1)
            return Fail("cannot sign");
        X509_free(certificate);
        EVP_PKEY_free(key);
    }
    unsigned char* der = nullptr;
    const int size = i2d_PKCS7(p7, &der);
    if (size <= 0)
        return Fail("cannot encode");
    std::ofstream(out, std::ios::binary).write(reinterpret_cast<char*>(der), size);
    OPENSSL_free(der);
    PKCS7_free(p7);
    return 0;
}
