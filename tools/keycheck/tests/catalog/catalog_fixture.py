"""Catalogs of the tests' own making: throwaway certificates made with the openssl command, each
member's hash taken by this file (hashlib for a whole file, osslsigncode for a PE image's
Authenticode hash), and the trust list encoded and signed by make_catalog. None of keycheck's
own code makes a fixture.
"""
import hashlib
import re
import subprocess
import tempfile
from pathlib import Path

WHQL_USAGE = "1.3.6.1.4.1.311.10.3.5"


def run(command, **extra):
    return subprocess.run([str(part) for part in command], check=True, capture_output=True,
                          **extra)


def root(folder, name):
    """A self-signed CA certificate and its key: (certificate, key)."""
    folder = Path(folder)
    slug = re.sub(r"\W+", "-", name).strip("-").lower()
    certificate, key = folder / (slug + ".pem"), folder / (slug + ".key")
    run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out",
         certificate, "-days", "3650", "-subj", "/CN=" + name, "-addext",
         "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=keyCertSign,cRLSign"])
    return certificate, key


def leaf(folder, issuer, name, usage="codeSigning"):
    """A signer's certificate issued by issuer (certificate, key), with the extended key usage
    given (WHQL_USAGE for Microsoft's hardware compatibility publisher's shape)."""
    folder = Path(folder)
    slug = re.sub(r"\W+", "-", name).strip("-").lower()
    certificate, key, request = (folder / (slug + ".pem"), folder / (slug + ".key"),
                                 folder / (slug + ".csr"))
    extensions = folder / (slug + ".ext")
    extensions.write_text("extendedKeyUsage=%s\nkeyUsage=digitalSignature\n" % usage)
    run(["openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", request,
         "-subj", "/CN=" + name])
    run(["openssl", "x509", "-req", "-in", request, "-CA", issuer[0], "-CAkey", issuer[1],
         "-CAcreateserial", "-out", certificate, "-days", "3650", "-extfile", extensions])
    return certificate, key


def file_hash(path, kind="sha1"):
    """The hash of all of a file's bytes, in hex."""
    return hashlib.new(kind, Path(path).read_bytes()).hexdigest()


def pe_hash(path, kind="sha1"):
    """A PE image's Authenticode hash as osslsigncode computes it: it signs a copy with a
    throwaway key and reports the digest it calculated over the image."""
    with tempfile.TemporaryDirectory() as work:
        ca = root(work, "osslsigncode throwaway")
        signed = Path(work) / "signed.exe"
        run(["osslsigncode", "sign", "-certs", ca[0], "-key", ca[1], "-h", kind, "-in", path,
             "-out", signed])
        said = subprocess.run(["osslsigncode", "verify", "-in", signed], capture_output=True,
                              text=True).stdout
    found = re.search(r"Calculated message digest\s*:\s*([0-9A-Fa-f]+)", said)
    if found is None:
        raise RuntimeError("osslsigncode reported no digest for %s: %s" % (path, said[-500:]))
    return found.group(1).lower()


def build(make_catalog, out, members, attributes=(), signer=None, chain=(), digest="sha1",
          signer_digest=None):
    """Writes a catalog to out. members: (hash hex, file name, OSAttr or "", PE image or not);
    attributes: (name, value); signer: (certificate, key) or None for a catalog nobody signed;
    chain: the issuers' certificates the catalog also holds."""
    command = [make_catalog, out, "--digest", digest]
    if signer_digest:
        command += ["--signer-digest", signer_digest]
    if signer:
        command += ["--signer", signer[0], signer[1]]
    for certificate in chain:
        command += ["--chain", certificate]
    for name, value in attributes:
        command += ["--attribute", name, value]
    for hash_hex, name, os_attr, pe in members:
        command += ["--member", hash_hex, name, os_attr or "-", "1" if pe else "0"]
    run(command)
