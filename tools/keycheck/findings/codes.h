// Every code keycheck's verbs report, in one table: its name, the verbs that say it, whether it
// is a finding, a warning or a note, and what goes wrong on the machine.
//
// A finding is something to mend and sets exit status 1; a warning is something to look at
// and a note something said so that nothing goes unexplained: neither changes the status. The
// manual's table of codes (tools/keycheck/README.md) names each code here, and a test holds the
// two together.
//
// Thread rule: constant data; any thread.
#pragma once

#include <cstddef>
#include <string>

enum class Severity { Finding, Warning, Note };

// X(enumerator, name, verbs, severity, meaning)
#define KEYCHECK_CODES(X)                                                                          \
    X(NoKeyFile, "no-key-file", "lint, xref", Finding,                                             \
      "the launcher shows \"key.ini not found !!\" and installs nothing")                          \
    X(NoEntries, "no-entries", "lint", Finding, "key.ini gives no entry: no device can match")     \
    X(TooMany, "too-many", "lint", Finding, "an entry past the 40th, which the launcher ignores")  \
    X(TooLong, "too-long", "lint", Finding,                                                        \
      "an entry of 40 bytes or more, which the launcher stores empty: it matches nothing")         \
    X(EmptyValue, "empty-value", "lint", Finding, "an empty entry, which the launcher skips")      \
    X(Duplicate, "duplicate", "lint", Finding, "an entry that repeats an earlier one")             \
    X(CommentEntry, "comment-entry", "lint", Finding,                                              \
      "a ; comment line holding =, which still gives the launcher an entry")                       \
    X(LowerCase, "lower-case", "lint", Finding,                                                    \
      "lower-case letters, which no upper-case PCI key name holds")                                \
    X(EdgeBlank, "edge-blank", "lint", Finding,                                                    \
      "a blank or tab at an end of a value, which the launcher keeps as part of the ID")           \
    X(NulByte, "nul-byte", "lint", Finding, "a NUL byte, where the launcher's text ends")          \
    X(BareLineFeed, "bare-line-feed", "lint", Finding,                                             \
      "a line feed without a carriage return, which merges lines into one value")                  \
    X(Utf16, "utf16", "lint", Finding, "UTF-16 text, in which the launcher finds no entry")        \
    X(MissingFile, "missing-file", "lint", Finding,                                                \
      "2000/XP: the installer or its INF is not there, yet started; 9x: a copy is skipped "        \
      "without a word")                                                                            \
    X(PartialId, "partial-id", "xref", Finding,                                                    \
      "the launcher takes any device key holding the entry, other makers' boards too")             \
    X(EntryNotInstalled, "entry-not-installed", "xref", Finding,                                   \
      "the launcher goes ahead, and Windows finds no driver for the device")                       \
    X(IdNotListed, "id-not-listed", "xref", Finding,                                               \
      "a board the INF supports is refused by the launcher")                                       \
    X(BadPciId, "bad-pci-id", "xref, txtsetup", Finding,                                           \
      "Windows reports no device with that ID, so the line installs nothing")                      \
    X(MissingInf, "missing-inf", "xref, gen", Finding,                                             \
      "the version's INF is not in the package: no device is installed")                           \
    X(UnicodeInf, "unicode-inf", "xref, gen", Finding,                                             \
      "a UTF-16 INF, which Windows 9x cannot read: no device is installed")                        \
    X(NoSignature, "no-signature", "xref, gen", Finding,                                           \
      "no [Version] Signature: Windows does not take the file as an INF")                          \
    X(WrongSignature, "wrong-signature", "xref, gen", Finding,                                     \
      "a signature the version does not read: no device is installed")                             \
    X(NoManufacturer, "no-manufacturer", "xref, gen", Finding,                                     \
      "no [Manufacturer] section: the file installs no device")                                    \
    X(BadSectionLine, "bad-section-line", "xref, gen", Finding,                                    \
      "a section header without its ]: Windows refuses the whole file")                            \
    X(SectionNameTooLong, "section-name-too-long", "xref, gen", Finding,                           \
      "a section name over 255 characters: Windows refuses the whole file")                        \
    X(OutsideSection, "outside-section", "xref, gen", Finding,                                     \
      "text before the first section in a file without [Strings]: Windows refuses the file")       \
    X(MissingModelsSection, "missing-models-section", "xref, gen", Finding,                        \
      "[Manufacturer] names a models section that does not exist: its devices get no driver")      \
    X(BadModelsLine, "bad-models-line", "xref, gen", Finding,                                      \
      "a models line without an install section and an ID: its device gets no driver")             \
    X(BadDecoration, "bad-decoration", "xref, gen", Finding,                                       \
      "no TargetOSVersion decoration: XP cannot pick the models section by it")                    \
    X(MissingInstallSection, "missing-install-section", "xref", Finding,                           \
      "Windows finds the device's line and cannot install it")                                     \
    X(MissingPackageFile, "missing-package-file", "xref", Finding,                                 \
      "Windows asks for a source file the package does not hold")                                  \
    X(UnknownSourceDisk, "unknown-source-disk", "xref", Finding,                                   \
      "a source file on a disk [SourceDisksNames] does not name: Windows asks for a disk")         \
    X(EntryPartlyInstalled, "entry-partly-installed", "xref", Warning,                             \
      "boards with another subsystem or revision get no driver")                                   \
    X(UndefinedString, "undefined-string", "xref", Warning,                                        \
      "nothing fails: Windows keeps %strkey% as written")                                          \
    X(UnclosedQuote, "unclosed-quote", "xref", Warning,                                            \
      "Windows ends the quoted text at the line's end, perhaps not as the author meant")           \
    X(Utf8Bom, "utf8-bom", "xref", Warning,                                                        \
      "Windows reads the UTF-8 mark as three ANSI characters of the first line")                   \
    X(UndocumentedSignature, "undocumented-signature", "xref", Warning,                            \
      "a signature no source says Windows 9x reads; keycheck reads the file as if it did")         \
    X(NoSingleDevice, "no-single-device", "xref", Note,                                            \
      "nothing: an ID naming a class is no device key name, so no entry can list it")              \
    X(MissingSection, "missing-section", "txtsetup, lint, xref", Finding,                          \
      "no [Disks], [Defaults] or [scsi]: text-mode setup cannot use the disk")                     \
    X(BadDiskLine, "bad-disk-line", "txtsetup, lint, xref", Finding,                               \
      "a [Disks] line without its three fields: setup cannot find the disk")                       \
    X(MissingTagFile, "missing-tag-file", "txtsetup, lint, xref", Finding,                         \
      "the tag file is not on the disk: setup asks for the disk again and again")                  \
    X(BadDefault, "bad-default", "txtsetup, lint, xref", Finding,                                  \
      "[Defaults] names an option [scsi] does not list")                                           \
    X(NoFilesSection, "no-files-section", "txtsetup, lint, xref", Finding,                         \
      "an option without its [Files.scsi.ID]: setup has nothing to copy for it")                   \
    X(UnknownDisk, "unknown-disk", "txtsetup, lint, xref", Finding,                                \
      "a file on a disk no [Disks] line defines: setup cannot copy it")                            \
    X(MissingDiskFile, "missing-disk-file", "txtsetup, lint, xref", Finding,                       \
      "a listed file is not in its disk's folder: setup stops the install there")                  \
    X(LongFileName, "long-file-name", "txtsetup, lint, xref", Finding,                             \
      "a name longer than 8.3, which text-mode setup cannot read")                                 \
    X(SeveralDrivers, "several-drivers", "txtsetup, lint, xref", Finding,                          \
      "a second driver= line in one option: setup loads the first driver only (KB885756)")         \
    X(ServiceNotDriver, "service-not-driver", "txtsetup, lint, xref", Finding,                     \
      "a hardware ID whose service is not the option's driver: setup starts no driver for it")     \
    X(ConfigNotDriverKey, "config-not-driver-key", "txtsetup, lint, xref", Finding,                \
      "a [Config.X] named after no driver's DriverKey: its values are never written")              \
    X(F6LacksDevice, "f6-lacks-device", "txtsetup, lint, xref", Finding,                           \
      "the controller installs on a running Windows but cannot carry 2000/XP's own installation")  \
    X(ServiceIsDriverKey, "service-is-driver-key", "txtsetup, xref", Warning,                      \
      "the service names the DriverKey, not the image the page asks for; such disks install")      \
    X(DeviceOnlyInF6, "device-only-in-f6", "txtsetup, xref", Warning,                              \
      "text-mode setup installs it, Windows later finds no driver or the launcher refuses it")     \
    X(NoCatalog, "no-catalog", "catalog, xref", Warning,                                           \
      "2000/XP: the INF names no catalog: the driver is unsigned, and XP prompts")                 \
    X(CatalogAbsent, "catalog-absent", "catalog, lint, xref", Finding,                             \
      "2000/XP: the catalog the INF names is not in the package: the driver is unsigned")          \
    X(CatalogUnreadable, "catalog-unreadable", "catalog, txtsetup, lint, xref", Finding,           \
      "2000/XP: the catalog is no signed catalog Windows can use: the driver is unsigned")         \
    X(NotInCatalog, "not-in-catalog", "catalog, txtsetup, lint, xref", Finding,                    \
      "2000/XP: the catalog lacks a file's hash: edited after signing, the driver is unsigned")    \
    X(LineEndings, "line-endings", "catalog, lint, xref", Finding,                                 \
      "2000/XP: the INF matches its catalog only with CR LF restored: its line ends were "         \
      "converted")                                                                                 \
    X(CatalogOs, "catalog-os", "catalog, lint, xref", Finding,                                     \
      "2000/XP: the catalog's OS attributes leave the version out: the driver is unsigned there")  \
    X(CatalogDigest, "catalog-digest", "catalog, lint, xref", Finding,                             \
      "2000/XP: SHA-256 only, which they cannot verify: the driver is unsigned there")             \
    X(MissingSourceFile, "missing-source-file", "survey", Finding,                                 \
      "a file the INF copies for that version is not in its folder: Windows asks for a disk")      \
    X(Unreadable, "unreadable", "survey", Finding,                                                 \
      "a folder or file of the library that cannot be read: nothing more is said of it")           \
    X(InfTooLarge, "inf-too-large", "survey", Finding,                                             \
      "an INF larger than any driver's (32 MiB), left unread so that memory stays bounded")        \
    X(FatUntidy, "fat-untidy", "disk check", Warning,                                              \
      "fsck.fat would tidy the floppy (mkdosfs leaves its label blank); every file reads")         \
    X(CatalogSigner, "catalog-signer", "catalog, xref", Warning,                                   \
      "2000/XP: signed, but not by Microsoft's hardware compatibility publisher: XP prompts")

enum class Code {
#define KEYCHECK_CODE_ENUMERATOR(id, name, verbs, severity, meaning) id,
    KEYCHECK_CODES(KEYCHECK_CODE_ENUMERATOR)
#undef KEYCHECK_CODE_ENUMERATOR
};

struct CodeInfo {
    Code code;
    const char* name;   // as the reports print it, such as "bare-line-feed"
    const char* verbs;  // the verbs that say it, comma-separated
    Severity severity;
    const char* meaning;  // what goes wrong on the machine, in one line
};

// Every code, in the table's order.
extern const CodeInfo kCodes[];
extern const std::size_t kCodeCount;

const CodeInfo& Describe(Code code);
const char* CodeName(Code code);

// "finding", "warning" or "note".
const char* SeverityName(Severity severity);
