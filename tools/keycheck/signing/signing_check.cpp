// Whether Windows will trust a driver package: each INF's catalog as 2000 and XP check it.
//
// What no Microsoft page settles, keycheck chooses, and its manual says so:
// - A member's "OSAttr" ("2:5.1,2:5.00": platform 2, NT 5.1 and 5.0) admits exactly the versions
//   it lists: a catalog for 2000 alone (2:5.00) does not admit XP, whose prompt then speaks of
//   "compatibility with Windows XP". Without any OSAttr, the catalog's own "OS" attribute
//   ("2000,XPX86") is read the same way; without either, every version is admitted.
// - 2000 and XP verify files' SHA-1 hashes and signatures over SHA-1 or MD5: a file whose hash
//   the catalog holds in SHA-256 alone, or a signature over SHA-256, is one they cannot verify
//   (XP before Service Pack 3 has no SHA-256 at all; public virtio-win reports: drivers re-signed
//   with SHA-256 alone fail before Windows 8).
// - Microsoft's signature is a signer with the WHQL usage whose chain, as the catalog holds it,
//   reaches a certificate of Microsoft's roots by thumbprint, or an issuer of their names where
//   the catalog leaves the root out, as catalogs do. keycheck holds no copy of the roots, so a
//   chain of a made-up "Microsoft Root Authority" passes the name test; only Windows can tell.
#include "tools/keycheck/signing/signing_check.h"

#include "tools/keycheck/catalog/file_digest.h"
#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/package/inf_files.h"
#include "tools/keycheck/text/ascii_case.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {
// Microsoft's roots of driver signatures: thumbprint (SHA-1 of the certificate) and name.
const struct {
    const char* thumbprint;
    const char* name;
} kMicrosoftRoots[] = {
    {"A43489159A520F0D93D032CCAF37E7FE20A8B419", "Microsoft Root Authority"},
    {"CDD4EEAE6000AC7F40C3802C171E30148030C072", "Microsoft Root Certificate Authority"}};

const char* const kPrompt = "prompts under the default policy and refuses under Block";
const char* const kUnsigned = "the driver is unsigned: Windows prompts under the default policy "
                              "and refuses under Block";

// The NT version an "OSAttr" entry or an "OS" name stands for, as "5.0" or "5.1"; "" for others.
std::string NtVersionOf(OsType version) {
    return version == OS_WIN2000 ? "5.0" : version == OS_WINXP ? "5.1" : "";
}

// Whether "2:5.1,2:5.00" admits version: an entry of platform 2 and the same major and minor.
bool OsAttrAdmits(const std::string& list, OsType version) {
    std::size_t at = 0;
    while (at <= list.size()) {
        std::size_t end = list.find(',', at);
        if (end == std::string::npos)
            end = list.size();
        const std::string entry = list.substr(at, end - at);
        const std::size_t colon = entry.find(':');
        const std::size_t dot = entry.find('.');
        if (colon != std::string::npos && dot != std::string::npos && dot > colon) {
            const std::string platform = entry.substr(0, colon);
            const std::string major = entry.substr(colon + 1, dot - colon - 1);
            std::string minor = entry.substr(dot + 1);
            minor.erase(0, std::min(minor.find_first_not_of('0'), minor.size() - 1));
            if (platform.find_first_not_of(" ") != std::string::npos &&
                platform.substr(platform.find_first_not_of(" ")) == "2" &&
                major + "." + minor == NtVersionOf(version))
                return true;
        }
        at = end + 1;
    }
    return false;
}

// Whether the catalog's "OS" attribute ("2000,XPX86,Server2003X86") names version.
bool OsNamesAdmit(const std::string& list, OsType version) {
    const std::string upper = "," + AsciiUpper(list) + ",";
    if (version == OS_WIN2000)
        return upper.find(",2000,") != std::string::npos;
    return upper.find(",XPX86,") != std::string::npos ||
           upper.find(",XP_X86,") != std::string::npos || upper.find(",XP,") != std::string::npos;
}

// The text with each line feed that has no carriage return before it given one.
std::string WithCrLf(const std::string& text) {
    std::string restored;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            restored += '\r';
        restored += text[i];
    }
    return restored;
}

bool IsMicrosoft(const CatalogSigner& signer) {
    if (signer.chain.empty() || !signer.chain.front().whqlUsage)
        return false;
    for (const auto& root : kMicrosoftRoots) {
        for (const CatalogCertificate& certificate : signer.chain) {
            if (certificate.thumbprint == root.thumbprint)
                return true;
        }
        if (signer.chain.back().issuer == root.name)
            return true;
    }
    return false;
}

class Checker {
public:
    Checker(const Package& package, bool readCatalogs, SigningCheck& result)
        : m_package(package), m_result(result) {
        m_result.catalogsRead = readCatalogs && CatalogsReadable();
    }

    void Check(const VersionInf& inf) {
        InfSigning signing;
        signing.inf = inf.path;
        signing.version = inf.version;
        signing.checks = IsNtVersion(inf.version);
        if (!signing.checks || !inf.found || !inf.models.readable) {
            signing.verdict = signing.checks ? "the INF is not read, so nothing is installed"
                                             : "does not check driver signatures: installs the "
                                               "driver without a prompt";
            m_result.infs.push_back(signing);
            return;
        }
        const CatalogName named = CatalogOf(inf);
        signing.catalog = named.path;
        if (named.name.empty()) {
            Say(Code::NoCatalog, inf.path, named.line,
                std::string("names no catalog: ") + kUnsigned, inf.version);
            signing.verdict =
                "unsigned (the INF names no catalog): " + Short(inf.version) + " " + kPrompt;
            signing.prompts = true;
            m_result.infs.push_back(signing);
            return;
        }
        const PackageFile* file = m_package.files.Find(named.path);
        signing.catalogFound = file != nullptr;
        if (file == nullptr) {
            Say(Code::CatalogAbsent, inf.path, named.line,
                "the catalog " + named.path + " is not in the package: " + kUnsigned, inf.version);
            signing.verdict = "unsigned (" + named.path +
                              " is not in the package): " + Short(inf.version) + " " + kPrompt;
            signing.prompts = true;
            m_result.infs.push_back(signing);
            return;
        }
        if (!m_result.catalogsRead) {
            signing.verdict = "catalog " + named.path + " not read";
            m_result.infs.push_back(signing);
            return;
        }
        Judge(inf, named, *file, signing);
        m_result.infs.push_back(signing);
    }

    void Finish() { m_result.findings = m_list.Take(); }

private:
    static std::string Short(OsType version) { return version == OS_WIN2000 ? "2000" : "XP"; }

    void Say(Code code, const std::string& file, int line, const std::string& text,
             OsType version) {
        m_list.Add(MakeFinding(code, file, line, text), version);
    }

    const Catalog& CatalogAt(const PackageFile& file) {
        for (const ReadCatalogFile& read : m_result.catalogs) {
            if (read.path == file.path)
                return read.catalog;
        }
        std::string bytes, error;
        Catalog catalog;
        if (m_package.files.Read(file, bytes, error))
            catalog = ReadCatalog(bytes);
        else
            catalog.problem = error;
        m_result.catalogs.push_back(ReadCatalogFile{file.path, catalog});
        return m_result.catalogs.back().catalog;
    }

    // The file's SHA-1 and SHA-256, each once for the whole check.
    const FileDigests* DigestsOf(const PackageFile& file, std::string& error) {
        const auto found = m_digests.find(file.path);
        if (found != m_digests.end() &&
            (!m_wantSha256 || !found->second.sha256.empty() || !found->second.problem.empty()))
            return &found->second;
        const std::unique_ptr<std::istream> in = m_package.files.Open(file);
        FileDigests digests;
        if (in == nullptr || !DigestFile(*in, file.size, true, m_wantSha256, digests, error)) {
            if (error.empty())
                error = "cannot be read";
            return nullptr;
        }
        return &(m_digests[file.path] = digests);
    }

    // Whether the catalog holds the file's hash as 2000 and XP look it up (SHA-1).
    SignedFile Coverage(const std::string& path, const Catalog& catalog, bool inf) {
        SignedFile covered;
        covered.path = path;
        const PackageFile* file = m_package.files.Find(path);
        covered.present = file != nullptr;
        if (file == nullptr)
            return covered;
        std::string error;
        const FileDigests* digests = DigestsOf(*file, error);
        if (digests == nullptr) {
            covered.problem = "cannot be read";
            return covered;
        }
        if (!digests->problem.empty()) {
            covered.problem =
                "its PE headers lie (" + digests->problem + "), so Windows takes no hash of it";
            return covered;
        }
        covered.sha1 = HexOf(digests->sha1);
        covered.covered = catalog.MemberWithHash(DigestKind::Sha1, digests->sha1) != nullptr;
        if (covered.covered)
            return covered;
        if (!digests->sha256.empty() &&
            catalog.MemberWithHash(DigestKind::Sha256, digests->sha256) != nullptr) {
            covered.problem = "sha256";
            return covered;
        }
        if (inf) {
            std::string bytes;
            m_package.files.Read(*file, bytes, error);
            const std::string restored = WithCrLf(bytes);
            covered.lineEndings =
                restored != bytes &&
                catalog.MemberWithHash(DigestKind::Sha1, DigestBytes(restored, DigestKind::Sha1)) !=
                    nullptr;
        }
        return covered;
    }

    // The member that covers the INF, for its OSAttr, or null.
    const CatalogMember* InfMember(const std::string& path, const Catalog& catalog) {
        const PackageFile* file = m_package.files.Find(path);
        std::string error;
        const FileDigests* digests = file == nullptr ? nullptr : DigestsOf(*file, error);
        return digests == nullptr ? nullptr
                                  : catalog.MemberWithHash(DigestKind::Sha1, digests->sha1);
    }

    bool Admits(const Catalog& catalog, const CatalogMember* member, OsType version) {
        if (member != nullptr && !member->osAttr.empty())
            return OsAttrAdmits(member->osAttr, version);
        const std::string names = catalog.Attribute("OS");
        return names.empty() || OsNamesAdmit(names, version);
    }

    void Judge(const VersionInf& inf, const CatalogName& named, const PackageFile& file,
               InfSigning& signing) {
        const Catalog& catalog = CatalogAt(file);
        const OsType version = inf.version;
        if (!catalog.read || catalog.signers.empty() || !catalog.signers[0].signatureValid) {
            const std::string why = !catalog.read             ? catalog.problem
                                    : catalog.signers.empty() ? "no signer: a catalog nobody signed"
                                                              : catalog.signers[0].problem;
            Say(Code::CatalogUnreadable, named.path, 0,
                "is no catalog Windows can use: " + why + "; the driver is unsigned", version);
            signing.verdict =
                "unsigned (" + named.path + ": " + why + "): " + Short(version) + " " + kPrompt;
            signing.prompts = true;
            return;
        }
        signing.catalogRead = true;
        m_wantSha256 =
            std::any_of(catalog.members.begin(), catalog.members.end(),
                        [](const CatalogMember& m) { return m.digest == DigestKind::Sha256; });
        std::vector<std::string> paths{inf.path};
        const std::vector<SourceFile> sources = SourceFiles(inf);
        for (const std::string& name : CopiedFiles(inf)) {
            const auto source =
                std::find_if(sources.begin(), sources.end(), [&](const SourceFile& s) {
                    return s.knownDisk && AsciiUpper(s.name) == AsciiUpper(name);
                });
            paths.push_back(source != sources.end() ? source->path : FolderOf(inf.path) + name);
        }
        std::string unsignedWhy;
        bool sha256Only = false;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            SignedFile covered = Coverage(paths[i], catalog, i == 0);
            if (covered.present && !covered.covered) {
                if (covered.problem == "sha256") {
                    sha256Only = true;
                    covered.problem = "its hash is in the catalog in SHA-256 alone";
                } else if (covered.lineEndings) {
                    Say(Code::LineEndings, inf.path, 0,
                        inf.path + " matches " + named.path +
                            " only with CR LF line ends restored: its line ends were converted "
                            "after it was signed (git's autocrlf does it); restore them",
                        version);
                } else {
                    Say(Code::NotInCatalog, inf.path, 0,
                        paths[i] + " is not in " + named.path +
                            (covered.problem.empty() ? ": it was changed after the catalog was "
                                                       "signed, or never signed"
                                                     : ": " + covered.problem),
                        version);
                }
                if (unsignedWhy.empty())
                    unsignedWhy = paths[i] + " is not in " + named.path;
            }
            signing.files.push_back(covered);
        }
        const CatalogSigner& signer = catalog.signers[0];
        // WHQL signed its catalogs for 98 and 2000 over MD5.
        const bool verifiable =
            signer.digest == DigestKind::Sha1 || signer.digest == DigestKind::Md5;
        if (sha256Only || !verifiable) {
            Say(Code::CatalogDigest, named.path, 0,
                std::string(sha256Only
                                ? "holds some files' hashes in SHA-256 alone"
                                : "is signed over " + std::string(DigestName(signer.digest))) +
                    ", which 2000 and XP cannot verify: the driver is unsigned there",
                version);
            if (unsignedWhy.empty())
                unsignedWhy = named.path + " cannot be verified with SHA-1 or MD5";
        }
        if (!Admits(catalog, InfMember(inf.path, catalog), version)) {
            const CatalogMember* member = InfMember(inf.path, catalog);
            const std::string listed = member != nullptr && !member->osAttr.empty()
                                           ? "OSAttr " + member->osAttr
                                           : "OS " + catalog.Attribute("OS");
            Say(Code::CatalogOs, named.path, 0,
                "admits no " + std::string(VersionLabel(version)) + " (" + listed +
                    "): the driver is unsigned there",
                version);
            if (unsignedWhy.empty())
                unsignedWhy = named.path + " does not admit " + VersionLabel(version);
        }
        if (!unsignedWhy.empty()) {
            signing.verdict = "unsigned (" + unsignedWhy + "): " + Short(version) + " " + kPrompt;
            signing.prompts = true;
            return;
        }
        signing.trusted = true;
        signing.microsoft = IsMicrosoft(signer);
        const std::string by = signer.chain.empty() ? "?" : signer.chain.front().subject;
        if (signing.microsoft) {
            signing.verdict = "signed by Microsoft's hardware compatibility publisher (" + by +
                              "): installs without a prompt";
            return;
        }
        const bool whql = !signer.chain.empty() && signer.chain.front().whqlUsage;
        const std::string root = signer.chain.empty() ? "" : signer.chain.back().issuer;
        Say(Code::CatalogSigner, named.path, 0,
            "is signed by " + by +
                (whql ? ", with the WHQL usage but under " + root + ", not Microsoft's root"
                      : " (issued by " + root +
                            "), not Microsoft's hardware compatibility "
                            "publisher") +
                ": 2000 and XP do not count it as a driver signature; Windows prompts under the "
                "default policy and refuses under Block",
            version);
        signing.prompts = true;
        signing.verdict =
            "signed by " + by + ", not Microsoft's signature: " + Short(version) +
            (version == OS_WINXP ? " will prompt (\"has not passed Windows Logo testing\")"
                                 : " will prompt (\"Digital Signature Not Found\")");
    }

    const Package& m_package;
    SigningCheck& m_result;
    FindingList m_list;
    std::map<std::string, FileDigests> m_digests;
    bool m_wantSha256 = false;
};

}  // namespace

SigningCheck CheckPackageSigning(const Package& package, bool readCatalogs) {
    SigningCheck result;
    Checker checker(package, readCatalogs, result);
    for (const VersionInf& inf : package.infs)
        checker.Check(inf);
    checker.Finish();
    return result;
}

SigningCheck CheckFolderSigning(const Package& package, bool readCatalogs) {
    InfFilesRead read;
    std::vector<VersionInf> infs;
    for (const PackageFile* file : FolderInfs(package.files)) {
        for (OsType version : kInfVersions) {
            VersionInf inf;
            std::string error;
            if (ReadInfAs(package.files, *file, file->path, version, package.reading, read, inf,
                          error))
                infs.push_back(std::move(inf));
        }
    }
    return CheckVersionInfsSigning(package, infs, readCatalogs);
}

SigningCheck CheckVersionInfsSigning(const Package& package, const std::vector<VersionInf>& infs,
                                     bool readCatalogs) {
    SigningCheck result;
    Checker checker(package, readCatalogs, result);
    for (const VersionInf& inf : infs)
        checker.Check(inf);
    checker.Finish();
    return result;
}

std::string SigningLine(const InfSigning& signing) {
    return std::string(VersionLabel(signing.version)) + ": " + signing.verdict;
}

bool CatalogCovers(const PackageFiles& files, const std::string& path, const Catalog& catalog,
                   std::string& why) {
    const PackageFile* file = files.Find(path);
    if (file == nullptr) {
        why = "not on the disk";
        return false;
    }
    const std::unique_ptr<std::istream> in = files.Open(*file);
    FileDigests digests;
    std::string error;
    if (in == nullptr || !DigestFile(*in, file->size, true, false, digests, error)) {
        why = "cannot be read";
        return false;
    }
    if (!digests.problem.empty()) {
        why = "its PE headers lie (" + digests.problem + ")";
        return false;
    }
    if (catalog.MemberWithHash(DigestKind::Sha1, digests.sha1) != nullptr)
        return true;
    why = "its hash is not in the catalog";
    return false;
}
