#!/usr/bin/env python3
"""Writes the SPDX 2.3 bill of materials <artefact>.spdx.json of one release artefact.

  write_spdx.py windows ARTEFACT OWN_COPYRIGHT EPOCH VERSION NAME=EXE=MAP...
      an MSI or the zip: the programs it holds (by their names inside it), and for each program the Debian
      packages its linker map names, statically linked into it
  write_spdx.py deb DEB EPOCH
      a Debian package: the packages its Depends line names

The document's time is EPOCH and its namespace is named by the artefact's SHA-256, so the same artefact always
gets the same document."""

import hashlib
import json
import os
import re
import subprocess
import sys
import time
from urllib.parse import quote

import debian_components

SUPPLIER = "Organization: OvraMed"
NAMESPACE = "https://www.ovramed.example/spdx/"


def Sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def SpdxId(kind, name):
    return f"SPDXRef-{kind}-" + re.sub(r"[^A-Za-z0-9.]+", "-", name).strip("-")


def OwnLicence(copyrightText):
    """This project's licence from its own machine-readable copyright file."""
    return debian_components.Licences("ovramed", copyrightText, debian_components.KnownSpdxIds())


class Document:
    def __init__(self, artefact, epoch):
        self.name = os.path.basename(artefact)
        self.sha = Sha256(artefact)
        self.packages = []
        self.relationships = []
        self.extracted = {}
        self.created = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(int(epoch)))

    def Add(self, package, extracted=None):
        if package["SPDXID"] not in (p["SPDXID"] for p in self.packages):
            self.packages.append(package)
        self.extracted.update(extracted or {})
        return package["SPDXID"]

    def Relate(self, a, kind, b):
        row = {"spdxElementId": a, "relationshipType": kind, "relatedSpdxElement": b}
        if row not in self.relationships:
            self.relationships.append(row)

    def Debian(self, component):
        name = component["package"]
        package = {"SPDXID": SpdxId("Debian", name), "name": name,
                   "versionInfo": component["version"] or "NOASSERTION", "supplier": "Organization: Debian",
                   "downloadLocation": "NOASSERTION", "filesAnalyzed": False,
                   "licenseConcluded": "NOASSERTION", "licenseDeclared": component["licence"],
                   "copyrightText": "NOASSERTION", "primaryPackagePurpose": "LIBRARY"}
        if component["version"]:
            package["externalRefs"] = [{"referenceCategory": "PACKAGE-MANAGER", "referenceType": "purl",
                                        "referenceLocator": f"pkg:deb/debian/{name}@{quote(component['version'])}"}]
        if component.get("supplied"):
            package["comment"] = "Linked from this package: " + ", ".join(component["supplied"])
        if component.get("constraint"):
            package["comment"] = f"Depends: {name} ({component['constraint']})"
        return self.Add(package, component["extractedLicences"])

    def Json(self, described):
        document = {
            "spdxVersion": "SPDX-2.3", "dataLicense": "CC0-1.0", "SPDXID": "SPDXRef-DOCUMENT", "name": self.name,
            "documentNamespace": f"{NAMESPACE}{quote(self.name)}-{self.sha}",
            "creationInfo": {"created": self.created, "creators": [SUPPLIER, "Tool: write_spdx.py"]},
            "documentDescribes": [described], "packages": self.packages,
            "relationships": [{"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                               "relatedSpdxElement": described}] + self.relationships}
        if self.extracted:
            document["hasExtractedLicensingInfos"] = [
                {"licenseId": ref, "name": ref[len("LicenseRef-"):], "extractedText": text}
                for ref, text in sorted(self.extracted.items())]
        return json.dumps(document, ensure_ascii=False, indent=2) + "\n"


def Artefact(document, path, version, licence, purpose, comment=None):
    package = {"SPDXID": "SPDXRef-Artefact", "name": document.name, "packageFileName": document.name,
               "versionInfo": version, "supplier": SUPPLIER, "downloadLocation": "NOASSERTION",
               "filesAnalyzed": False, "checksums": [{"algorithm": "SHA256", "checksumValue": document.sha}],
               "licenseConcluded": licence, "licenseDeclared": licence, "copyrightText": "Copyright OvraMed",
               "primaryPackagePurpose": purpose}
    if comment:
        package["comment"] = comment
    return document.Add(package)


def Windows(artefact, ownCopyright, epoch, version, programs):
    document = Document(artefact, epoch)
    licence, extracted = OwnLicence(open(ownCopyright, encoding="utf-8").read())
    document.extracted.update(extracted)
    purpose = "INSTALL" if artefact.endswith(".msi") else "ARCHIVE"
    top = Artefact(document, artefact, version, licence, purpose)
    triples = [p.split("=", 2) for p in programs]
    perMap = debian_components.ComponentsFromMaps([m for _, _, m in triples])
    for number, (name, exe, mapPath) in enumerate(triples, 1):
        # Numbered: a title may hold no character an SPDX id allows.
        program = document.Add({
            "SPDXID": f"SPDXRef-Program-{number}", "name": name, "packageFileName": name, "versionInfo": version,
            "supplier": SUPPLIER, "downloadLocation": "NOASSERTION", "filesAnalyzed": False,
            "checksums": [{"algorithm": "SHA256", "checksumValue": Sha256(exe)}], "licenseConcluded": licence,
            "licenseDeclared": licence, "copyrightText": "Copyright OvraMed", "primaryPackagePurpose": "APPLICATION"})
        document.Relate(top, "CONTAINS", program)
        for component in perMap[mapPath]:
            document.Relate(program, "STATIC_LINK", document.Debian(component))
    return document.Json(top)


def DebField(deb, field):
    return subprocess.run(["dpkg-deb", "-f", deb, field], check=True, capture_output=True, text=True).stdout.strip()


def Deb(deb, epoch):
    document = Document(deb, epoch)
    name = DebField(deb, "Package")
    listing = subprocess.run(["dpkg-deb", "--fsys-tarfile", deb], check=True, capture_output=True).stdout
    copyright = subprocess.run(["tar", "-xO", f"./usr/share/doc/{name}/copyright"], input=listing, check=True,
                               capture_output=True).stdout.decode("utf-8")
    licence, extracted = OwnLicence(copyright)
    document.extracted.update(extracted)
    top = Artefact(document, deb, DebField(deb, "Version"), licence, "APPLICATION",
                   comment=f"Debian package {name}")
    for component in debian_components.ComponentsFromDepends(DebField(deb, "Depends")):
        document.Relate(top, "DEPENDS_ON", document.Debian(component))
    return document.Json(top)


def main(argv):
    if len(argv) >= 6 and argv[0] == "windows":
        text = Windows(argv[1], argv[2], argv[3], argv[4], argv[5:])
    elif len(argv) == 3 and argv[0] == "deb":
        text = Deb(argv[1], argv[2])
    else:
        sys.exit(__doc__)
    with open(argv[1] + ".spdx.json", "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main(sys.argv[1:])
