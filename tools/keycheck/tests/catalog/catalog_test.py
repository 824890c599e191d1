#!/usr/bin/env python3
"""keycheck catalog on driver folders of the tests' own making, one row per rule: a folder
holding hx.inf (which copies hx.sys, a PE image MinGW links) and the catalog hx.cat, built by
catalog_fixture.py and then changed the way real folders were found changed. Each row states the
codes keycheck must say, with their versions, and its exit status.

Patterns met on real folders, written here as our own: an INF given more device IDs after its
catalog was signed (community packs' "tweaked" folders); an INF whose line ends git converted
on checkout; a catalog re-signed with SHA-256 alone (virtio-win's public reports); a catalog
whose OS attribute lists 2000 and Server 2003 but not XP; a text placeholder for a catalog.

    catalog_test.py KEYCHECK MAKE_CATALOG      (exit 77, skipped, without openssl, osslsigncode
                                                or a MinGW compiler)
"""
import json
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import catalog_fixture as fixture  # noqa: E402

INF = ("[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=SCSIAdapter\r\nProvider=%P%\r\n"
       "CatalogFile=hx.cat\r\n[SourceDisksNames]\r\n1=%D%,,,\r\n[SourceDisksFiles]\r\n"
       "hx.sys=1\r\n[Manufacturer]\r\n%P%=M\r\n[M]\r\n%D%=Inst,PCI\\VEN_1A2B&DEV_5820\r\n"
       "[Inst.NT]\r\nCopyFiles=Files\r\n[Files]\r\nhx.sys\r\n[Inst.NT.Services]\r\n"
       "AddService=hx,2,Svc\r\n[Svc]\r\nServiceType=1\r\nStartType=0\r\nErrorControl=1\r\n"
       "ServiceBinary=%12%\\hx.sys\r\n[Strings]\r\nP=\"HX\"\r\nD=\"HX disk\"\r\n")
COMPILERS = ["x86_64-w64-mingw32-gcc", "i686-w64-mingw32-gcc"]
failures = []


def check(condition, what):
    print(("ok: " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


class Lab:
    """Certificates, the PE image and its hashes, made once for all rows."""

    def __init__(self, work, make_catalog):
        self.work, self.make_catalog = work, make_catalog
        self.vendor_root = fixture.root(work, "HX Test Root")
        self.vendor = fixture.leaf(work, self.vendor_root, "HX Technology (test signing)")
        self.ms_root = fixture.root(work, "Microsoft Root Authority")
        self.whql = fixture.leaf(work, self.ms_root, "Microsoft Windows Hardware Compatibility "
                                 "Publisher", fixture.WHQL_USAGE)
        self.other_root = fixture.root(work, "Contoso Test Root")
        self.whql_elsewhere = fixture.leaf(work, self.other_root, "Contoso WHQL look-alike",
                                           fixture.WHQL_USAGE)
        source = work / "driver.c"
        source.write_text("int DriverEntry(void) { return 0; }\nint main(void) { return 0; }\n")
        self.pe = work / "hx.sys"
        compiler = next(c for c in COMPILERS if shutil.which(c))
        fixture.run([compiler, "-O1", "-s", "-o", self.pe, source])
        self.pe_hashes = {kind: fixture.pe_hash(self.pe, kind) for kind in ("sha1", "sha256")}

    def folder(self, name, inf=INF):
        folder = self.work / name
        folder.mkdir()
        (folder / "hx.inf").write_bytes(inf.encode("latin-1"))
        shutil.copy(self.pe, folder / "hx.sys")
        return folder

    def members(self, folder, kind="sha1", os_attr="2:5.00,2:5.1"):
        return [(fixture.file_hash(folder / "hx.inf", kind), "hx.inf", os_attr, False),
                (self.pe_hashes[kind], "hx.sys", os_attr, True)]

    def catalog(self, folder, signer="vendor", kind="sha1", os_attr="2:5.00,2:5.1",
                attributes=(("OS", "2000,XPX86"),), signer_digest=None):
        signers = {"vendor": (self.vendor, [self.vendor_root[0]]),
                   "whql": (self.whql, []),
                   "whql-elsewhere": (self.whql_elsewhere, [self.other_root[0]]),
                   "nobody": (None, [])}
        certificate, chain = signers[signer]
        fixture.build(self.make_catalog, folder / "hx.cat", self.members(folder, kind, os_attr),
                      attributes, certificate, chain, kind, signer_digest)


def edit_inf(folder):
    text = (folder / "hx.inf").read_bytes().replace(
        b"[M]\r\n", b"[M]\r\n%D%=Inst,PCI\\VEN_1A2B&DEV_5821\r\n")
    (folder / "hx.inf").write_bytes(text)


def lf_only(folder):
    (folder / "hx.inf").write_bytes((folder / "hx.inf").read_bytes().replace(b"\r\n", b"\n"))


def patch_pe(folder):
    data = bytearray((folder / "hx.sys").read_bytes())
    data[len(data) // 2] ^= 0xFF
    (folder / "hx.sys").write_bytes(bytes(data))


def sign_pe(lab):
    """The PE image signed itself (a new checksum and a certificate table): its image hash is
    the one the catalog holds for the unsigned image."""
    def change(folder):
        signed = folder / "signed.sys"
        fixture.run(["osslsigncode", "sign", "-certs", lab.vendor[0], "-key", lab.vendor[1],
                     "-in", folder / "hx.sys", "-out", signed])
        signed.replace(folder / "hx.sys")
    return change


def placeholder(folder):
    (folder / "hx.cat").write_text("Placeholder\n")


def tamper(folder):
    data = bytearray((folder / "hx.cat").read_bytes())
    at = data.find(b"h\x00x\x00.\x00s\x00y\x00s\x00")  # the member's "File" value
    data[at] = ord("H")
    (folder / "hx.cat").write_bytes(bytes(data))


def remove_catalog(folder):
    (folder / "hx.cat").unlink()


def rows(lab):
    """(name, catalog options, change after signing, codes with versions, exit status)."""
    return [
        ("covered, a vendor's signature", {}, None, ["catalog-signer [2000,xp]"], 0),
        ("covered, Microsoft's WHQL shape", {"signer": "whql"}, None, [], 0),
        ("WHQL usage under another root", {"signer": "whql-elsewhere"}, None,
         ["catalog-signer [2000,xp]"], 0),
        # Where a version takes the driver as unsigned, who signed it is no longer its question.
        ("INF edited after signing", {}, edit_inf, ["not-in-catalog [2000,xp]"], 1),
        ("LF-only INF", {}, lf_only, ["line-endings [2000,xp]"], 1),
        ("PE image patched after signing", {}, patch_pe, ["not-in-catalog [2000,xp]"], 1),
        ("PE image signed itself after", {}, sign_pe(lab), ["catalog-signer [2000,xp]"], 0),
        ("SHA-256 members and signer", {"kind": "sha256"}, None, ["catalog-digest [2000,xp]"], 1),
        ("SHA-1 members, SHA-256 signer", {"signer_digest": "sha256"}, None,
         ["catalog-digest [2000,xp]"], 1),
        # WHQL's catalogs of 1999-2001 are signed over MD5 (seen in a public Windows 9x driver
        # collection, fragglet/win9x-essentials: drivers/rtl8139c/win98/netrts5.cat,
        # md5WithRSAEncryption by Microsoft Windows Hardware Compatibility Publisher).
        ("WHQL's signature over MD5", {"signer": "whql", "signer_digest": "md5"}, None, [], 0),
        ("OSAttr of 2000 alone", {"os_attr": "2:5.00"}, None,
         ["catalog-os [xp]", "catalog-signer [2000]"], 1),
        ("OSAttr of XP alone", {"os_attr": "2:5.1"}, None,
         ["catalog-os [2000]", "catalog-signer [xp]"], 1),
        ("OS attribute without XP", {"os_attr": "", "attributes": (("OS", "2000,Server2003X86"),)},
         None, ["catalog-os [xp]", "catalog-signer [2000]"], 1),
        ("no OS attribute at all", {"os_attr": "", "attributes": ()}, None,
         ["catalog-signer [2000,xp]"], 0),
        ("a text placeholder", {}, placeholder, ["catalog-unreadable [2000,xp]"], 1),
        ("no signer", {"signer": "nobody"}, None, ["catalog-unreadable [2000,xp]"], 1),
        ("changed after signing", {}, tamper, ["catalog-unreadable [2000,xp]"], 1),
        ("catalog missing", {}, remove_catalog, ["catalog-absent [2000,xp]"], 1),
    ]


def codes_of(document):
    said = []
    for finding in document["findings"] + document["warnings"]:
        versions = ",".join(finding["versions"])
        said.append(finding["code"] + (" [%s]" % versions if versions else ""))
    return said


def main():
    keycheck, make_catalog = sys.argv[1], sys.argv[2]
    missing = [tool for tool in ["openssl", "osslsigncode"] if shutil.which(tool) is None]
    if missing or not any(shutil.which(c) for c in COMPILERS):
        print("SKIP: no %s" % (", ".join(missing) or "MinGW compiler"))
        return 77
    with tempfile.TemporaryDirectory() as work:
        lab = Lab(Path(work), make_catalog)
        for index, (name, options, change, expected, status) in enumerate(rows(lab)):
            folder = lab.folder("row%02d" % index)
            lab.catalog(folder, **options)
            if change:
                change(folder)
            run = subprocess.run([keycheck, "catalog", str(folder), "--json"],
                                 capture_output=True)
            document = json.loads(run.stdout) if run.stdout else {"findings": [], "warnings": []}
            said = codes_of(document)
            check(sorted(said) == sorted(expected) and run.returncode == status,
                  "%s: %s, status %d (said %s, status %d%s)"
                  % (name, expected, status, said, run.returncode,
                     ", " + run.stderr.decode()[-200:] if run.stderr else ""))

        # A WHQL-shaped signature counts as Microsoft's only by its chain: said in the verdict.
        folder = lab.folder("verdicts")
        lab.catalog(folder, signer="whql")
        said = json.loads(subprocess.run([keycheck, "catalog", str(folder), "--json"],
                                         capture_output=True).stdout)
        xp = [inf for inf in said["infs"] if inf["version"] == "xp"][0]
        check(xp["microsoft"] and xp["trusted"] and [f["covered"] for f in xp["files"]] == [True,
                                                                                          True],
              "the WHQL shape: trusted, Microsoft's, both files covered (%s)" % xp["verdict"])
        check(xp["files"][1]["sha1"] == lab.pe_hashes["sha1"].upper(),
              "keycheck's image hash of hx.sys is osslsigncode's (%s)" % xp["files"][1]["sha1"])

        # A catalog given alone: read, or refused in one line with status 2.
        alone = subprocess.run([keycheck, "catalog", str(folder / "hx.cat"), "--json"],
                               capture_output=True)
        members = json.loads(alone.stdout)["members"] if alone.returncode == 0 else []
        check(alone.returncode == 0 and [m["file"] for m in members] == ["hx.inf", "hx.sys"]
              and members[1]["peImage"], "a catalog alone lists its members")
        cut = Path(work) / "cut.cat"
        cut.write_bytes((folder / "hx.cat").read_bytes()[:300])
        refused = subprocess.run([keycheck, "catalog", str(cut)], capture_output=True)
        lines = refused.stderr.decode().splitlines()
        check(refused.returncode == 2 and not refused.stdout and len(lines) == 1,
              "a cut-short catalog alone is refused in one line with status 2 (%r)" % lines)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
