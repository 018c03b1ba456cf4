"""What a build took from Debian: the packages that supplied the archive members a linker map names, or that a
.deb's Depends line names, each with its version and its licences as its copyright file states them."""

import json
import os
import re
import subprocess

# Debian's short licence names (lower case) that are not SPDX ids as they stand.
DEBIAN_LICENCE_NAMES = {"expat": "MIT", "boost-1.0": "BSL-1.0", "gfdl-niv-1.3": "GFDL-1.3-no-invariants-only",
                        "public-domain": None}
GCC_RUNTIME = re.compile(r"GNU General Public License \(v3 or later\) with version 3\.1 of the GCC Runtime "
                         r"Library Exception")
SPDX_IDS = "/usr/share/nodejs/spdx-license-ids/index.json"


def LinkedFiles(mapText):
    """The archives (with the members taken from each) and the objects a GNU ld map shows were linked."""
    archives = {}
    section = mapText.split("\nArchive member included", 1)[-1].split("\nDiscarded input sections", 1)[0]
    for archive, member in re.findall(r"^(\S+\.a)\(([^)]+)\)\s*$", section, re.MULTILINE):
        archives.setdefault(os.path.normpath(archive), set()).add(member)
    objects = {os.path.normpath(o) for o in re.findall(r"^LOAD (\S+\.o(?:bj)?)$", mapText, re.MULTILINE)}
    return archives, objects


def OwningPackage(path):
    """The installed package that holds path, or None for a file of no package (this build's own)."""
    if not os.path.isabs(path):
        return None
    result = subprocess.run(["dpkg", "-S", os.path.realpath(path)], capture_output=True, text=True)
    if result.returncode != 0:
        return None
    return result.stdout.split(":", 1)[0].split(",")[0].strip()


def InstalledVersion(package):
    result = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True, text=True)
    return result.stdout.strip() if result.returncode == 0 and result.stdout.strip() else None


def CopyrightFile(package):
    return f"/usr/share/doc/{package}/copyright"


def Paragraphs(text):
    """DEP-5 paragraphs as lists of (field, value) with continuation lines joined by newlines."""
    paragraphs = []
    for block in re.split(r"\n\s*\n", text):
        fields = []
        for line in block.splitlines():
            if line[:1] in (" ", "\t") and fields:
                body = line[1:]
                fields[-1] = (fields[-1][0], fields[-1][1] + "\n" + ("" if body.strip() == "." else body))
            elif ":" in line:
                name, value = line.split(":", 1)
                fields.append((name.strip(), value.strip()))
        if fields:
            paragraphs.append(fields)
    return paragraphs


def SpdxIdFromDebianName(name, known):
    """The SPDX id of a Debian short licence name, or None when the list has none for it."""
    lowered = {k.lower(): k for k in known}
    if name.lower() in DEBIAN_LICENCE_NAMES:
        mapped = DEBIAN_LICENCE_NAMES[name.lower()]
        return mapped if mapped in known else None
    if name.lower() in lowered:
        return lowered[name.lower()]
    gpl = re.fullmatch(r"((?:A|L)?GPL)-(\d(?:\.\d)?)(\+?)", name)
    if gpl:
        version = gpl.group(2) if "." in gpl.group(2) else gpl.group(2) + ".0"
        candidate = f"{gpl.group(1)}-{version}-{'or-later' if gpl.group(3) else 'only'}"
        return candidate if candidate in known else None
    bsd = re.fullmatch(r"BSD-(\d)-clause", name, re.IGNORECASE)
    if bsd and f"BSD-{bsd.group(1)}-Clause" in known:
        return f"BSD-{bsd.group(1)}-Clause"
    return None


def LicenceRef(name):
    return "LicenseRef-" + re.sub(r"[^A-Za-z0-9.-]+", "-", name).strip("-")


def Licences(package, text, known):
    """(SPDX expression, {LicenseRef: text}) for a package's copyright file. A machine-readable file gives the
    licences of its Files paragraphs; another gives the GCC runtime's licence where it states it in those words,
    else one reference to the whole file."""
    extracted = {}
    if not text.startswith("Format:"):
        if GCC_RUNTIME.search(" ".join(text.split())):
            return "GPL-3.0-or-later WITH GCC-exception-3.1", extracted
        ref = LicenceRef(f"{package}-copyright")
        extracted[ref] = text
        return ref, extracted
    paragraphs = Paragraphs(text)
    standalone = {}
    for fields in paragraphs:
        if fields[0][0] == "License":
            name, _, body = fields[0][1].partition("\n")
            standalone[name.strip()] = body
    terms = []
    for fields in paragraphs:
        values = dict(fields)
        if "Files" not in values or "License" not in values:
            continue
        name, _, body = values["License"].partition("\n")
        # "A or B and C": Debian's operators are SPDX's; a "with … exception" stays part of its licence's name.
        parts = re.split(r",?\s+(and|or)\s+", name.strip().rstrip(","))
        expression = []
        for index, part in enumerate(parts):
            if index % 2:
                expression.append(part.upper())
                continue
            spdx = SpdxIdFromDebianName(part, known)
            if spdx is None:
                spdx = LicenceRef(part)
                extracted.setdefault(spdx, standalone.get(part, "").strip() or body.strip() or part)
            expression.append(spdx)
        term = " ".join(expression)
        if term not in terms:
            terms.append(term)
    if not terms:
        return "NOASSERTION", extracted
    if len(terms) == 1:
        return terms[0], extracted
    return " AND ".join(f"({t})" if " OR " in t else t for t in terms), extracted


def KnownSpdxIds():
    with open(SPDX_IDS, encoding="utf-8") as f:
        return set(json.load(f))


def Component(package, supplied):
    """One Debian package as a component: name, version, the files of it that were used, licences, copyright."""
    path = CopyrightFile(package)
    text = open(path, encoding="utf-8", errors="replace").read() if os.path.exists(path) else ""
    licence, extracted = Licences(package, text, KnownSpdxIds()) if text else ("NOASSERTION", {})
    return {"package": package, "version": InstalledVersion(package), "supplied": sorted(supplied),
            "licence": licence, "extractedLicences": extracted, "copyrightFile": path if text else None}


def ComponentsFromMaps(mapPaths):
    """Per map: the Debian packages whose archives or objects it names, as components (sorted by package)."""
    owners = {}
    perMap = {}
    for mapPath in mapPaths:
        with open(mapPath, encoding="utf-8", errors="replace") as f:
            archives, objects = LinkedFiles(f.read())
        used = {}
        for path in list(archives) + list(objects):
            if path not in owners:
                owners[path] = OwningPackage(path)
            if owners[path]:
                used.setdefault(owners[path], set()).add(os.path.basename(path))
        perMap[mapPath] = used
    merged = {}
    for used in perMap.values():
        for package, files in used.items():
            merged.setdefault(package, set()).update(files)
    components = {p: Component(p, files) for p, files in sorted(merged.items())}
    return {m: [components[p] | {"supplied": sorted(f)} for p, f in sorted(used.items())]
            for m, used in perMap.items()}


def ComponentsFromDepends(depends):
    """The packages a Depends line names (every alternative), as components with their installed versions."""
    components = []
    for clause in filter(None, (c.strip() for c in depends.split(","))):
        for alternative in clause.split("|"):
            match = re.match(r"\s*([a-z0-9][a-z0-9+.-]*)(?::\w+)?\s*(?:\(([^)]*)\))?", alternative)
            if match:
                component = Component(match.group(1), [])
                component["constraint"] = (match.group(2) or "").strip()
                components.append(component)
    return components
