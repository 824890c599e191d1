// Whether Windows will trust a driver package: for each INF and each version that reads it, the
// catalog that version takes, whether it holds the hash of the INF and of every file the INF
// copies, whose signature it carries, and whether that version can verify it.
//
// Windows 2000 and XP check driver signatures when they install a device ("Windows 2000 Code
// Signing: Digitally Signed Drivers", KB224404; XP keeps the same policy): a driver counts as
// signed when a catalog signed by Microsoft's hardware compatibility publisher (the WHQL usage,
// 1.3.6.1.4.1.311.10.3.5) holds the hash of each of its files and admits the running version;
// otherwise the default policy, Warn, stops the install with the "has not passed Windows Logo
// testing" prompt (KB216754), and Block refuses it. Windows 98 SE and Me install unsigned drivers
// without a prompt; Me shows a driver's signer in Device Manager and its File Signature
// Verification tool (KB269255).
//
// Thread rule: a pure function of the package; any thread.
#pragma once

#include "tools/keycheck/catalog/catalog.h"
#include "tools/keycheck/findings/finding.h"
#include "tools/keycheck/package/package.h"

#include <string>
#include <vector>

struct SignedFile {
    std::string path;          // below the package
    bool present = false;      // the package holds it
    bool covered = false;      // the catalog holds its hash
    bool lineEndings = false;  // only its text with CR LF line ends restored is in the catalog
    std::string sha1;          // the hash 2000 and XP look it up by, upper-case hex
    std::string problem;       // why it is not covered where more than "not in the catalog"
};

struct InfSigning {
    std::string inf;  // as the package names it
    OsType version = OS_NONE;
    bool checks = false;  // the version checks signatures: 2000 and XP
    std::string catalog;  // the catalog's path below the package, or "" when none is named
    bool catalogFound = false;
    bool catalogRead = false;       // read and a catalog; false also where catalogs are not read
    std::vector<SignedFile> files;  // the INF first, then each file it copies for the version
    bool trusted = false;           // signed for the version by a signature it verifies
    bool microsoft = false;         // and by Microsoft's hardware compatibility publisher
    bool prompts = false;  // the version, known to check, does not count the driver as signed
    std::string verdict;   // one line: whether the version treats the driver as signed
};

struct ReadCatalogFile {
    std::string path;  // below the package
    Catalog catalog;
};

struct SigningCheck {
    bool catalogsRead = false;              // catalogs were read (this build can, and was asked to)
    std::vector<InfSigning> infs;           // per INF, the versions in the order of kInfVersions
    std::vector<ReadCatalogFile> catalogs;  // each catalog read, once
    // Each tagged with its versions, naming the INF, its line, or the file not covered.
    std::vector<Finding> findings;
};

// The INF each version of the launcher's four is given, as the launcher gives it. Catalogs are
// read only where readCatalogs is true and the build reads them; elsewhere only whether the INF
// names one and whether it is in the package are said.
SigningCheck CheckPackageSigning(const Package& package, bool readCatalogs);

// Every INF of a driver folder (its root and drv\), for each version that reads it.
SigningCheck CheckFolderSigning(const Package& package, bool readCatalogs);

// The same for INFs a caller has read already, each as one version reads it.
SigningCheck CheckVersionInfsSigning(const Package& package, const std::vector<VersionInf>& infs,
                                     bool readCatalogs);

// Whether the catalog holds the SHA-1 hash of the file at path (of its PE image where it is one),
// as 2000 and XP look it up; why, when not.
bool CatalogCovers(const PackageFiles& files, const std::string& path, const Catalog& catalog,
                   std::string& why);

// The one line the reports give for a version of an INF: "Windows XP: ...".
std::string SigningLine(const InfSigning& signing);
