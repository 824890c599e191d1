// Prints the result of keycheck catalog, for people or as one JSON document.
#include "tools/keycheck/report/catalog_report.h"

#include "tools/keycheck/catalog/file_digest.h"
#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/report/xref_report.h"
#include "tools/keycheck/text/shown_text.h"

namespace {
std::string DigestsOf(const Catalog& catalog) {
    std::string kinds;
    for (const DigestKind kind :
         {DigestKind::Sha1, DigestKind::Sha256, DigestKind::Md5, DigestKind::Other}) {
        for (const CatalogMember& member : catalog.members) {
            if (member.digest == kind) {
                kinds += (kinds.empty() ? "" : " and ") + std::string(DigestName(kind));
                break;
            }
        }
    }
    return kinds.empty() ? "no member" : kinds;
}

void PrintCatalog(const std::string& path, const Catalog& catalog, std::ostream& out) {
    out << path << ": ";
    if (!catalog.read) {
        out << "no catalog: " << catalog.problem << "\n";
        return;
    }
    out << Counted(catalog.members.size(), "member", "members") << " (" << DigestsOf(catalog)
        << ")";
    const std::string os = catalog.Attribute("OS");
    if (!os.empty())
        out << ", OS " << Shown(os);
    out << "\n";
    if (catalog.signers.empty())
        out << "  signed by nobody\n";
    for (const CatalogSigner& signer : catalog.signers) {
        out << "  signed (" << DigestName(signer.digest) << ") by";
        for (std::size_t i = 0; i < signer.chain.size(); ++i)
            out << (i == 0 ? " " : " <- ") << Shown(signer.chain[i].subject)
                << (signer.chain[i].whqlUsage ? " [WHQL]" : "");
        if (!signer.chain.empty() && !signer.chainEndsAtRoot)
            out << " <- " << Shown(signer.chain.back().issuer) << " (not in the catalog)";
        out << (signer.signatureValid ? "; the signature checks out\n"
                                      : "; " + signer.problem + "\n");
    }
}

void PrintList(const char* title, const std::vector<const Finding*>& list, std::ostream& out) {
    if (list.empty())
        return;
    out << "\n" << title << " (" << list.size() << "; for the versions in brackets):\n";
    for (const Finding* finding : list) {
        out << "  " << finding->file;
        if (finding->line > 0)
            out << ":" << finding->line;
        out << ": " << finding->text;
        std::string versions;
        for (const std::string& version : finding->versions)
            versions += (versions.empty() ? " [" : ", ") + version;
        out << (versions.empty() ? "" : versions + "]") << "\n";
    }
}

Json CatalogJson(const std::string& path, const Catalog& catalog) {
    Json members = Json::array();
    for (const CatalogMember& member : catalog.members)
        members.push_back(Json{{"tag", member.tag},
                               {"digest", DigestName(member.digest)},
                               {"hash", HexOf(member.hash)},
                               {"peImage", member.peImage},
                               {"file", member.file},
                               {"osAttr", member.osAttr}});
    Json attributes = Json::object();
    for (const auto& attribute : catalog.attributes)
        attributes[attribute.first] = attribute.second;
    Json signers = Json::array();
    for (const CatalogSigner& signer : catalog.signers) {
        Json chain = Json::array();
        for (const CatalogCertificate& certificate : signer.chain)
            chain.push_back(Json{{"subject", certificate.subject},
                                 {"issuer", certificate.issuer},
                                 {"thumbprint", certificate.thumbprint},
                                 {"whqlUsage", certificate.whqlUsage}});
        signers.push_back(Json{{"digest", DigestName(signer.digest)},
                               {"signatureValid", signer.signatureValid},
                               {"problem", JsonTextOrNull(signer.problem)},
                               {"chain", chain},
                               {"chainEndsAtRoot", signer.chainEndsAtRoot}});
    }
    return Json{{"path", JsonBytes(path)},
                {"read", catalog.read},
                {"problem", JsonTextOrNull(catalog.problem)},
                {"members", members},
                {"attributes", attributes},
                {"signers", signers}};
}
}  // namespace

Json SigningJson(const InfSigning& signing) {
    Json files = Json::array();
    for (const SignedFile& file : signing.files)
        files.push_back(Json{{"path", JsonBytes(file.path)},
                             {"present", file.present},
                             {"covered", file.covered},
                             {"lineEndings", file.lineEndings},
                             {"sha1", JsonTextOrNull(file.sha1)},
                             {"problem", JsonTextOrNull(file.problem)}});
    return Json{{"inf", JsonBytes(signing.inf)},
                {"version", VersionOption(signing.version)},
                {"checks", signing.checks},
                {"catalog", JsonTextOrNull(signing.catalog)},
                {"catalogFound", signing.catalogFound},
                {"catalogRead", signing.catalogRead},
                {"trusted", signing.trusted},
                {"microsoft", signing.microsoft},
                {"prompts", signing.prompts},
                {"verdict", signing.verdict},
                {"files", files}};
}

void PrintCatalogText(const std::string& folder, const SigningCheck& check, std::ostream& out) {
    out << "keycheck catalog " << folder << "\n";
    for (const ReadCatalogFile& read : check.catalogs)
        PrintCatalog(read.path, read.catalog, out);
    std::string inf;
    for (const InfSigning& signing : check.infs) {
        if (signing.inf != inf) {
            inf = signing.inf;
            out << "\n" << inf << "\n";
        }
        out << "  " << SigningLine(signing) << "\n";
        for (const SignedFile& file : signing.files) {
            if (file.present)
                out << "    " << (file.covered ? "covered      " : "NOT COVERED  ") << file.path
                    << "\n";
        }
    }
    const std::vector<const Finding*> findings = OfSeverity(check.findings, Severity::Finding);
    const std::vector<const Finding*> warnings = OfSeverity(check.findings, Severity::Warning);
    PrintList("Findings", findings, out);
    PrintList("Warnings", warnings, out);
    out << "\nResult: ";
    if (check.findings.empty())
        out << "clean";
    else
        out << Counted(findings.size(), "finding", "findings") << ", "
            << Counted(warnings.size(), "warning", "warnings");
    out << "\n";
}

void PrintCatalogJson(const std::string& folder, const SigningCheck& check, std::ostream& out) {
    Json catalogs = Json::array();
    for (const ReadCatalogFile& read : check.catalogs)
        catalogs.push_back(CatalogJson(read.path, read.catalog));
    Json infs = Json::array();
    for (const InfSigning& signing : check.infs)
        infs.push_back(SigningJson(signing));
    PrintJson(Json{{"command", "catalog"},
                   {"folder", JsonBytes(folder)},
                   {"catalogs", catalogs},
                   {"infs", infs},
                   {"findings", FindingsJson(OfSeverity(check.findings, Severity::Finding))},
                   {"warnings", FindingsJson(OfSeverity(check.findings, Severity::Warning))},
                   {"exitStatus", ExitStatus(check.findings)}},
              out);
}

void PrintLoneCatalogText(const std::string& path, const Catalog& catalog, std::ostream& out) {
    out << "keycheck catalog " << path << "\n";
    PrintCatalog(path, catalog, out);
    for (const CatalogMember& member : catalog.members)
        out << "  " << HexOf(member.hash) << "  " << (member.peImage ? "PE image " : "file     ")
            << Shown(member.file) << (member.osAttr.empty() ? "" : "  OSAttr " + member.osAttr)
            << "\n";
    for (const auto& attribute : catalog.attributes)
        out << "  attribute " << Shown(attribute.first) << " = " << Shown(attribute.second) << "\n";
}

void PrintLoneCatalogJson(const std::string& path, const Catalog& catalog, std::ostream& out) {
    Json json = CatalogJson(path, catalog);
    json["command"] = "catalog";
    PrintJson(json, out);
}
