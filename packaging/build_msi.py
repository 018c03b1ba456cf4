#!/usr/bin/env python3
"""Builds one tool's MSI from the recipe CMake writes for it (a JSON object: id, program, title, version, exe,
notices, icon, epoch, out): the installer tables as text files in code page 936, the two files in one cabinet,
both put together by msibuild. Usage: build_msi.py RECIPE [--version X.Y.Z] [--out FILE]

Every code is derived from the tool id (and the version), never drawn at random, so a tool keeps its upgrade
code for ever and two builds of one version are the same file."""

import hashlib
import json
import os
import shutil
import subprocess
import sys
import uuid

NAMESPACE = uuid.uuid5(uuid.NAMESPACE_URL, "https://www.ovramed.example/msi")
INSTALL_FOLDER = "OvraMedSuite"
MENU_FOLDER = "OvraMed 临床工具"
PUBLISHER = "OvraMed"
NOTICES = "THIRD-PARTY-NOTICES.txt"
COMPONENT_64BIT = 256
FILE_VITAL_COMPRESSED = 512 | 16384
CABINET = "product.cab"

# The actions of a silent install, upgrade and removal, in Windows Installer's standard order. The older
# version is removed whole before the new one is installed; a newer one found refuses the install.
EXECUTE_SEQUENCE = [
    ("FindRelatedProducts", "", 25), ("LaunchConditions", "", 100), ("ValidateProductID", "", 700),
    ("CostInitialize", "", 800), ("FileCost", "", 900), ("CostFinalize", "", 1000),
    ("MigrateFeatureStates", "", 1200), ("InstallValidate", "", 1400), ("RemoveExistingProducts", "", 1401),
    ("InstallInitialize", "", 1500), ("ProcessComponents", "", 1600), ("UnpublishFeatures", "", 1800),
    ("RemoveShortcuts", "", 3200), ("RemoveFiles", "", 3500), ("RemoveFolders", "", 3600),
    ("CreateFolders", "", 3700), ("InstallFiles", "", 4000), ("CreateShortcuts", "", 4500),
    ("RegisterUser", "", 6000), ("RegisterProduct", "", 6100), ("PublishFeatures", "", 6300),
    ("PublishProduct", "", 6400), ("InstallFinalize", "", 6600),
]
UI_SEQUENCE = [
    ("FindRelatedProducts", "", 25), ("LaunchConditions", "", 100), ("ValidateProductID", "", 700),
    ("CostInitialize", "", 800), ("FileCost", "", 900), ("CostFinalize", "", 1000),
    ("MigrateFeatureStates", "", 1200), ("ExecuteAction", "", 1300),
]


def Code(*parts):
    return "{" + str(uuid.uuid5(NAMESPACE, ":".join(str(p) for p in parts))).upper() + "}"


def Table(name, columns, keys, rows):
    """One table in the installer's text form: column names, column types, the table and its keys, then rows."""
    lines = ["\t".join(c for c, _ in columns), "\t".join(t for _, t in columns), "\t".join([name] + keys)]
    for row in rows:
        lines.append("\t".join("" if cell is None else str(cell) for cell in row))
    return name, "\r\n".join(lines) + "\r\n"


def Tables(recipe, version, cabinetSha):
    tool = recipe["id"]
    title = recipe["title"]
    exe = title + ".exe"
    upgrade = Code("upgrade", tool)
    product = Code("product", tool, version)
    sizes = {key: os.path.getsize(recipe[key]) for key in ("exe", "notices")}
    newer = "OVRA_NEWER_FOUND"
    older = "OVRA_OLDER_FOUND"
    return [
        ("_ForceCodepage", "\r\n\r\n936\t_ForceCodepage\r\n"),
        Table("Property", [("Property", "s72"), ("Value", "l0")], ["Property"], [
            ("ProductCode", product), ("ProductName", title), ("ProductVersion", version),
            ("ProductLanguage", 2052), ("Manufacturer", PUBLISHER), ("UpgradeCode", upgrade), ("ALLUSERS", 1),
            ("ARPPRODUCTICON", "program.ico"), ("ARPNOMODIFY", 1), ("ARPNOREPAIR", 1),
            ("ARPCOMMENTS", recipe["subtitle"]), ("SecureCustomProperties", f"{older};{newer}"),
        ]),
        Table("Directory", [("Directory", "s72"), ("Directory_Parent", "S72"), ("DefaultDir", "l255")],
              ["Directory"], [
            ("TARGETDIR", None, "SourceDir"), ("ProgramFiles64Folder", "TARGETDIR", "."),
            ("INSTALLDIR", "ProgramFiles64Folder", f"OVRAMED|{INSTALL_FOLDER}"),
            ("ProgramMenuFolder", "TARGETDIR", "."), ("ProgramMenuDir", "ProgramMenuFolder", f"OVRATOOL|{MENU_FOLDER}"),
        ]),
        # The notices file is one component of the same code in every tool's package: Windows Installer counts
        # the products that hold it and removes it with the last of them.
        Table("Component", [("Component", "s72"), ("ComponentId", "S38"), ("Directory_", "s72"),
                            ("Attributes", "i2"), ("Condition", "S255"), ("KeyPath", "S72")], ["Component"], [
            ("Program", Code("component", "program", tool), "INSTALLDIR", COMPONENT_64BIT, None, "Program"),
            ("Notices", Code("component", "notices"), "INSTALLDIR", COMPONENT_64BIT, None, "Notices"),
        ]),
        Table("Feature", [("Feature", "s38"), ("Feature_Parent", "S38"), ("Title", "L64"), ("Description", "L255"),
                          ("Display", "I2"), ("Level", "i2"), ("Directory_", "S72"), ("Attributes", "i2")],
              ["Feature"], [("Complete", None, title, recipe["subtitle"], 0, 1, "INSTALLDIR", 0)]),
        Table("FeatureComponents", [("Feature_", "s38"), ("Component_", "s72")], ["Feature_", "Component_"],
              [("Complete", "Program"), ("Complete", "Notices")]),
        Table("File", [("File", "s72"), ("Component_", "s72"), ("FileName", "l255"), ("FileSize", "i4"),
                       ("Version", "S72"), ("Language", "S20"), ("Attributes", "I2"), ("Sequence", "i2")],
              ["File"], [
            ("Program", "Program", f"T{tool}.EXE|{exe}", sizes["exe"], recipe["fileVersion"], None,
             FILE_VITAL_COMPRESSED, 1),
            ("Notices", "Notices", f"NOTICES.TXT|{NOTICES}", sizes["notices"], None, None, FILE_VITAL_COMPRESSED, 2),
        ]),
        Table("Media", [("DiskId", "i2"), ("LastSequence", "i2"), ("DiskPrompt", "L64"), ("Cabinet", "S255"),
                        ("VolumeLabel", "S32"), ("Source", "S72")], ["DiskId"],
              [(1, 2, None, "#" + CABINET, None, None)]),
        Table("Icon", [("Name", "s72"), ("Data", "v0")], ["Name"], [("program.ico", "program.ico")]),
        Table("Shortcut", [("Shortcut", "s72"), ("Directory_", "s72"), ("Name", "l128"), ("Component_", "s72"),
                           ("Target", "s72"), ("Arguments", "S255"), ("Description", "L255"), ("Hotkey", "I2"),
                           ("Icon_", "S72"), ("IconIndex", "I2"), ("ShowCmd", "I2"), ("WkDir", "S72")],
              ["Shortcut"], [("Program", "ProgramMenuDir", f"T{tool}|{title}", "Program", "[#Program]", None,
                              recipe["subtitle"], None, "program.ico", 0, 1, "INSTALLDIR")]),
        # The menu folder goes with the last tool whose shortcut stood in it.
        Table("RemoveFile", [("FileKey", "s72"), ("Component_", "s72"), ("FileName", "L255"),
                             ("DirProperty", "s72"), ("InstallMode", "i2")], ["FileKey"],
              [("MenuFolder", "Program", None, "ProgramMenuDir", 2)]),
        Table("Upgrade", [("UpgradeCode", "s38"), ("VersionMin", "S20"), ("VersionMax", "S20"),
                          ("Language", "S255"), ("Attributes", "i4"), ("Remove", "S255"), ("ActionProperty", "s72")],
              ["UpgradeCode", "VersionMin", "VersionMax", "Language", "Attributes"], [
            (upgrade, None, version, None, 1, None, older),   # below this version: removed
            (upgrade, version, None, None, 2, None, newer),   # above it: only detected, and refused
        ]),
        Table("LaunchCondition", [("Condition", "s255"), ("Description", "l255")], ["Condition"], [
            ("VersionNT64", f"“{title}”只能安装在 64 位 Windows 上。"),
            (f"NOT {newer}", f"已安装更新版本的“{title}”，不能再安装此旧版本。"),
        ]),
        Table("InstallExecuteSequence", [("Action", "s72"), ("Condition", "S255"), ("Sequence", "I2")], ["Action"],
              [(a, c or (f"{older}" if a == "RemoveExistingProducts" else None), s) for a, c, s in EXECUTE_SEQUENCE]),
        Table("InstallUISequence", [("Action", "s72"), ("Condition", "S255"), ("Sequence", "I2")], ["Action"],
              UI_SEQUENCE),
    ], Code("package", tool, version, cabinetSha)


def Run(*command, cwd=None):
    result = subprocess.run(command, cwd=cwd, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"build_msi: {' '.join(command)} failed in {cwd}: {result.stdout.strip()} {result.stderr.strip()}")


def Build(recipe, version, out):
    work = out + ".tables"
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "files"))
    os.makedirs(os.path.join(work, "Icon"))
    shutil.copyfile(recipe["icon"], os.path.join(work, "Icon", "program.ico"))
    # The cabinet names each file by its key in the File table and dates it with the source date.
    epoch = int(recipe["epoch"])
    for key, source in (("Program", recipe["exe"]), ("Notices", recipe["notices"])):
        staged = os.path.join(work, "files", key)
        shutil.copyfile(source, staged)
        os.utime(staged, (epoch, epoch))
    cabinet = os.path.join(work, CABINET)
    Run("env", "TZ=UTC", "gcab", "-c", "-z", "-n", cabinet, "files/Program", "files/Notices", cwd=work)
    cabinetSha = hashlib.sha256(open(cabinet, "rb").read()).hexdigest()
    tables, packageCode = Tables(recipe, version, cabinetSha)
    command = ["msibuild", out + ".part"]
    for name, text in tables:
        with open(os.path.join(work, name + ".idt"), "w", encoding="utf-8", newline="") as f:
            f.write(text)
        command += ["-i", name + ".idt"]
    # The summary holds ASCII only: it has no code page of its own that every reader honours. msibuild reads
    # the summary's words up to the end of the line, so they come last.
    command += ["-a", CABINET, CABINET, "-s", f"{recipe['program']} {version}", PUBLISHER, "x64;2052", packageCode]
    if os.path.exists(out + ".part"):
        os.remove(out + ".part")
    Run(*command, cwd=work)
    os.replace(out + ".part", out)
    shutil.rmtree(work)


def main(argv):
    if not argv or len(argv) % 2 != 1:
        sys.exit(__doc__)
    recipe = json.load(open(argv[0], encoding="utf-8"))
    options = dict(zip(argv[1::2], argv[2::2]))
    unknown = set(options) - {"--version", "--out"}
    if unknown:
        sys.exit(f"build_msi: unknown option {', '.join(sorted(unknown))}\n{__doc__}")
    Build(recipe, options.get("--version", recipe["version"]), os.path.abspath(options.get("--out", recipe["out"])))


if __name__ == "__main__":
    main(sys.argv[1:])
