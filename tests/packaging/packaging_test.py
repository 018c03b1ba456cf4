#!/usr/bin/env python3
"""The release records' logic without a build: licence names, linker maps, copyright files, the installer's
codes, and the SPDX check itself (it must refuse each broken document)."""

import copy
import json
import os
import sys
import tempfile
import unittest

here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [here, os.path.join(here, "..", "..", "packaging")]
import build_msi  # noqa: E402
import check_spdx  # noqa: E402
import debian_components  # noqa: E402
import write_spdx  # noqa: E402

KNOWN = {"GPL-2.0-or-later", "GPL-3.0-only", "LGPL-2.1-or-later", "LGPL-2.0-or-later", "MIT", "ISC",
         "BSD-3-Clause", "ZPL-2.1", "Zlib", "BSL-1.0"}

MAP = """Archive member included to satisfy reference by file (symbol)

ui/win32/libovra_win32_shell.a(dpi.cpp.obj)
                              entry/main_windows.cpp.obj (ovra::DeclareDpiAwareness())
/usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++.a(string-inst.o)
                              app.obj (std::string::assign)
/usr/lib/gcc/x86_64-w64-mingw32/12-posix/../../../../x86_64-w64-mingw32/lib/libmingwex.a(mingw_vfprintf.o)
                              app.obj (__mingw_vfprintf)
/usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++.a(cow-string-inst.o)
                              app.obj (std::string::_Rep)

Discarded input sections

 .text          0x0000000000000000        0x0 /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc.a(_chkstk.o)
LOAD /usr/x86_64-w64-mingw32/lib/crt2u.o
LOAD entry/main_windows.cpp.obj
LOAD /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc.a
"""

DEP5 = """Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: example

Files: *
Copyright: 2020 A
License: ZPL-2.1
 Zope text.

Files: lib/a.c
Copyright: 2021 B
License: GPL-2+ and Lucent
 .

Files: lib/b.c
Copyright: 2021 C
License: expat

Files: lib/c.c
Copyright: 2022 D
License: LGPL-2.1+ or GPL-3

License: Lucent
 Lucent's own words.
"""


class LicenceNames(unittest.TestCase):
    def test_debian_short_names_become_spdx_ids_or_none(self):
        rows = [("GPL-2+", "GPL-2.0-or-later"), ("GPL-3", "GPL-3.0-only"), ("LGPL-2.1+", "LGPL-2.1-or-later"),
                ("LGPL-2+", "LGPL-2.0-or-later"), ("expat", "MIT"), ("Expat", "MIT"), ("Boost-1.0", "BSL-1.0"), ("GFDL-NIV-1.3", None), ("isc", "ISC"), ("BSD-3-clause", "BSD-3-Clause"),
                ("ZPL-2.1", "ZPL-2.1"), ("BSD-2-clause", None), ("Cygwin", None), ("public-domain", None),
                ("GPL-9+", None)]
        for name, wanted in rows:
            with self.subTest(name=name):
                self.assertEqual(debian_components.SpdxIdFromDebianName(name, KNOWN), wanted)

    def test_copyright_files_give_an_expression_and_the_texts_of_their_own_names(self):
        gcc = "The following runtime libraries are licensed under the terms of the\nGNU General Public License " \
              "(v3 or later) with version 3.1 of the GCC\nRuntime Library Exception (included in this file):"
        rows = [
            ("dep5", DEP5, "ZPL-2.1 AND GPL-2.0-or-later AND LicenseRef-Lucent AND MIT AND "
                           "(LGPL-2.1-or-later OR GPL-3.0-only)",
             {"LicenseRef-Lucent": "Lucent's own words."}),
            ("gcc", gcc, "GPL-3.0-or-later WITH GCC-exception-3.1", {}),
            ("alternatives only", DEP5.split("\n\n")[0] + "\n\nFiles: *\nCopyright: E\nLicense: MIT or Zlib\n",
             "MIT OR Zlib", {}),
            ("free-form", "Some words about a licence.\n", "LicenseRef-free-form-copyright",
             {"LicenseRef-free-form-copyright": "Some words about a licence.\n"}),
        ]
        for package, text, expression, extracted in rows:
            with self.subTest(package=package):
                self.assertEqual(debian_components.Licences(package, text, KNOWN), (expression, extracted))


class LinkerMap(unittest.TestCase):
    def test_members_of_every_archive_and_loaded_objects_are_read(self):
        archives, objects = debian_components.LinkedFiles(MAP)
        gcc = "/usr/lib/gcc/x86_64-w64-mingw32/12-posix"
        self.assertEqual(archives, {
            "ui/win32/libovra_win32_shell.a": {"dpi.cpp.obj"},
            f"{gcc}/libstdc++.a": {"string-inst.o", "cow-string-inst.o"},
            "/usr/x86_64-w64-mingw32/lib/libmingwex.a": {"mingw_vfprintf.o"},
        })  # a discarded section of libgcc.a is not a member taken
        self.assertEqual(objects, {"/usr/x86_64-w64-mingw32/lib/crt2u.o", "entry/main_windows.cpp.obj"})

    def test_a_file_of_this_build_belongs_to_no_package(self):
        for path in ("entry/main_windows.cpp.obj", "/nonexistent/libx.a"):
            with self.subTest(path=path):
                self.assertIsNone(debian_components.OwningPackage(path))


class InstallerCodes(unittest.TestCase):
    def test_codes_are_fixed_per_tool_and_version(self):
        rows = [  # (a, b, equal)
            (("upgrade", 146), ("upgrade", 146), True),
            (("upgrade", 146), ("upgrade", 201), False),
            (("product", 146, "1.0.0"), ("product", 146, "1.0.1"), False),
            (("component", "program", 146), ("component", "program", 201), False),
            (("component", "notices"), ("component", "notices"), True),
        ]
        for a, b, equal in rows:
            with self.subTest(a=a, b=b):
                self.assertEqual(build_msi.Code(*a) == build_msi.Code(*b), equal)
                self.assertRegex(build_msi.Code(*a), r"^\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\}$")


class SpdxCheck(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.artefact = os.path.join(cls.folder.name, "tool-1.0.0-x64.msi")
        with open(cls.artefact, "wb") as f:
            f.write(b"installer bytes")
        document = write_spdx.Document(cls.artefact, 1767225600)
        top = write_spdx.Artefact(document, cls.artefact, "1.0.0", "LicenseRef-proprietary", "INSTALL")
        document.extracted["LicenseRef-proprietary"] = "All rights reserved."
        component = {"package": "libexample1", "version": "1.2-3", "supplied": ["libexample.a"],
                     "licence": "GPL-3.0-or-later WITH GCC-exception-3.1", "extractedLicences": {}}
        document.Relate(top, "STATIC_LINK", document.Debian(component))
        cls.document = json.loads(document.Json(top))
        cls.lists = check_spdx.Lists()

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_a_sound_document_passes(self):
        self.assertEqual(check_spdx.Problems(self.document, self.artefact, self.lists), [])

    def test_each_broken_document_is_refused(self):
        def Set(path, value):
            def change(d):
                *head, last = path
                for key in head:
                    d = d[key]
                d[last] = value
            return change

        rows = [
            ("version", Set(["spdxVersion"], "SPDX-2.2")),
            ("checksum", Set(["packages", 0, "checksums", 0, "checksumValue"], "0" * 64)),
            ("unknown licence", Set(["packages", 1, "licenseDeclared"], "GPL-3.0-or-later-ish")),
            ("unknown exception", Set(["packages", 1, "licenseDeclared"], "GPL-3.0-or-later WITH Nothing-1.0")),
            ("undeclared reference", Set(["packages", 0, "licenseDeclared"], "LicenseRef-unknown")),
            ("dangling relationship", Set(["relationships", 1, "relatedSpdxElement"], "SPDXRef-Nothing")),
            ("no download location", Set(["packages", 1, "downloadLocation"], "")),
            ("bad created", Set(["creationInfo", "created"], "2026-01-01 00:00:00")),
            ("namespace with #", Set(["documentNamespace"], "https://example/doc#1")),
            ("duplicate id", Set(["packages", 1, "SPDXID"], "SPDXRef-Artefact")),
            ("incomplete expression", Set(["packages", 1, "licenseDeclared"], "MIT AND")),
        ]
        for name, change in rows:
            with self.subTest(name=name):
                broken = copy.deepcopy(self.document)
                change(broken)
                self.assertNotEqual(check_spdx.Problems(broken, self.artefact, self.lists), [])


if __name__ == "__main__":
    unittest.main()
