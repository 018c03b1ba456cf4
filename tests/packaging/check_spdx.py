#!/usr/bin/env python3
"""Validates SPDX 2.3 JSON documents written beside release artefacts: the required fields, ids and references,
every licence expression against the SPDX lists Debian ships, and the SHA-256 of the artefact (and of each
program a zip holds). Usage: check_spdx.py <artefact>.spdx.json..."""

import hashlib
import json
import os
import re
import sys
import zipfile

LICENSE_IDS = "/usr/share/nodejs/spdx-license-ids/index.json"
DEPRECATED_IDS = "/usr/share/nodejs/spdx-license-ids/deprecated.json"
EXCEPTION_IDS = "/usr/share/nodejs/spdx-exceptions/index.json"
ID = re.compile(r"SPDXRef-[A-Za-z0-9.-]+")
CREATED = re.compile(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ")
RELATIONSHIPS = {"DESCRIBES", "DESCRIBED_BY", "CONTAINS", "CONTAINED_BY", "DEPENDS_ON", "DEPENDENCY_OF",
                 "STATIC_LINK", "DYNAMIC_LINK", "GENERATED_FROM", "PACKAGE_OF", "OTHER"}
PURPOSES = {"APPLICATION", "FRAMEWORK", "LIBRARY", "CONTAINER", "OPERATING-SYSTEM", "DEVICE", "FIRMWARE",
            "SOURCE", "ARCHIVE", "FILE", "INSTALL", "OTHER"}


def Lists():
    def load(path):
        with open(path, encoding="utf-8") as f:
            return set(json.load(f))
    return load(LICENSE_IDS) | load(DEPRECATED_IDS), load(EXCEPTION_IDS)


def LicenceProblems(expression, licences, exceptions, refs):
    """What is wrong with one licence expression: ids, WITH exceptions, references, the shape of the terms."""
    if expression in ("NOASSERTION", "NONE"):
        return []
    problems = []
    tokens = re.findall(r"\(|\)|[^\s()]+", expression)
    expectTerm = True
    depth = 0
    previous = None
    for token in tokens:
        if token == "(":
            depth += 1
            continue
        if token == ")":
            depth -= 1
            if depth < 0:
                problems.append(f"unbalanced ')' in {expression!r}")
            continue
        if token in ("AND", "OR", "WITH"):
            if expectTerm:
                problems.append(f"{token} without a term before it in {expression!r}")
            expectTerm = True
        elif not expectTerm:
            problems.append(f"two terms without an operator in {expression!r}")
        elif previous == "WITH":
            if token not in exceptions:
                problems.append(f"unknown licence exception {token!r}")
            expectTerm = False
        else:
            if token.startswith("LicenseRef-"):
                if not re.fullmatch(r"LicenseRef-[A-Za-z0-9.-]+", token) or token not in refs:
                    problems.append(f"undeclared or malformed {token!r}")
            elif token.rstrip("+") not in licences:
                problems.append(f"unknown licence id {token!r}")
            expectTerm = False
        previous = token
    if expectTerm or depth != 0:
        problems.append(f"incomplete licence expression {expression!r}")
    return problems


def Sha256(data):
    return hashlib.sha256(data).hexdigest()


def Problems(document, artefact, lists):
    """Every rule the document breaks, as texts; none for a valid one."""
    licences, exceptions = lists
    problems = []
    for field, wanted in (("spdxVersion", "SPDX-2.3"), ("dataLicense", "CC0-1.0"), ("SPDXID", "SPDXRef-DOCUMENT")):
        if document.get(field) != wanted:
            problems.append(f"{field} is {document.get(field)!r}, not {wanted!r}")
    if document.get("name") != os.path.basename(artefact):
        problems.append(f"name {document.get('name')!r} is not the artefact's")
    namespace = document.get("documentNamespace", "")
    if not re.fullmatch(r"https?://[^\s#]+", namespace):
        problems.append(f"documentNamespace {namespace!r} is not a URI without '#'")
    creation = document.get("creationInfo", {})
    if not CREATED.fullmatch(creation.get("created", "")):
        problems.append(f"creationInfo.created {creation.get('created')!r}")
    if not creation.get("creators") or not all(re.match(r"(Person|Organization|Tool): \S", c)
                                               for c in creation["creators"]):
        problems.append(f"creators {creation.get('creators')!r}")
    refs = {e.get("licenseId") for e in document.get("hasExtractedLicensingInfos", [])}
    for extracted in document.get("hasExtractedLicensingInfos", []):
        if not extracted.get("extractedText") or not str(extracted.get("licenseId", "")).startswith("LicenseRef-"):
            problems.append(f"extracted licence {extracted.get('licenseId')!r} without text or proper id")
    packages = document.get("packages", [])
    ids = [p.get("SPDXID", "") for p in packages]
    if len(set(ids)) != len(ids):
        problems.append("two packages share an SPDXID")
    for package in packages:
        where = package.get("SPDXID", "?")
        if not ID.fullmatch(where):
            problems.append(f"package id {where!r}")
        for field in ("name", "downloadLocation", "licenseConcluded", "licenseDeclared", "copyrightText"):
            if not package.get(field):
                problems.append(f"{where}: no {field}")
        if package.get("filesAnalyzed", True) is not False and "packageVerificationCode" not in package:
            problems.append(f"{where}: files analysed without a verification code")
        if "primaryPackagePurpose" in package and package["primaryPackagePurpose"] not in PURPOSES:
            problems.append(f"{where}: purpose {package['primaryPackagePurpose']!r}")
        for checksum in package.get("checksums", []):
            if checksum.get("algorithm") != "SHA256" or not re.fullmatch(r"[0-9a-f]{64}",
                                                                         checksum.get("checksumValue", "")):
                problems.append(f"{where}: checksum {checksum!r}")
        for field in ("licenseConcluded", "licenseDeclared"):
            problems += [f"{where}: {p}" for p in LicenceProblems(package.get(field, ""), licences, exceptions, refs)]
    known = set(ids) | {"SPDXRef-DOCUMENT"}
    related = set()
    for r in document.get("relationships", []):
        if r.get("relationshipType") not in RELATIONSHIPS:
            problems.append(f"relationship type {r.get('relationshipType')!r}")
        for end in (r.get("spdxElementId"), r.get("relatedSpdxElement")):
            if end not in known:
                problems.append(f"relationship names {end!r}, which is no element of the document")
            related.add(end)
    described = document.get("documentDescribes", [])
    if len(described) != 1 or described[0] not in ids:
        problems.append(f"documentDescribes {described!r}")
    elif {"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
          "relatedSpdxElement": described[0]} not in document.get("relationships", []):
        problems.append("no DESCRIBES relationship for the described package")
    unrelated = set(ids) - related
    if unrelated:
        problems.append(f"packages in no relationship: {sorted(unrelated)}")
    if described and described[0] in ids:
        top = packages[ids.index(described[0])]
        with open(artefact, "rb") as f:
            data = f.read()
        if [c.get("checksumValue") for c in top.get("checksums", [])] != [Sha256(data)]:
            problems.append("the described package's SHA-256 is not the artefact's")
        if artefact.endswith(".zip"):
            problems += ZipProblems(document, artefact)
    return problems


def ZipProblems(document, artefact):
    """Each program the document says the zip contains is a member of it, with that SHA-256."""
    problems = []
    byId = {p["SPDXID"]: p for p in document.get("packages", []) if "SPDXID" in p}
    contained = [byId.get(r["relatedSpdxElement"]) for r in document.get("relationships", [])
                 if r.get("relationshipType") == "CONTAINS"]
    with zipfile.ZipFile(artefact) as z:
        names = set(z.namelist())
        for package in filter(None, contained):
            if package["name"] not in names:
                problems.append(f"{package['name']!r} is not in the zip")
            elif [c["checksumValue"] for c in package.get("checksums", [])] != [Sha256(z.read(package["name"]))]:
                problems.append(f"{package['name']!r}: SHA-256 is not the member's")
    if not contained:
        problems.append("the zip's document names no program in it")
    return problems


def main(paths):
    lists = Lists()
    failed = 0
    for path in paths:
        if not path.endswith(".spdx.json"):
            sys.exit(f"check_spdx: {path} is not named <artefact>.spdx.json")
        artefact = path[: -len(".spdx.json")]
        try:
            with open(path, encoding="utf-8") as f:
                problems = Problems(json.load(f), artefact, lists)
        except (OSError, ValueError, KeyError, TypeError) as error:
            problems = [f"unreadable: {error}"]
        for problem in problems:
            print(f"FAIL {os.path.basename(path)}: {problem}")
        failed += bool(problems)
    print(f"{'ok  ' if not failed else 'FAIL'} {len(paths) - failed} of {len(paths)} SPDX documents valid, "
          "checksums matching")
    return 1 if failed or not paths else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
