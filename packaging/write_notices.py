#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES.txt (UTF-8 with a byte-order mark, CR LF) for the Windows programs: every Debian
package whose archives or objects the linker maps name, with its version, what it supplied and its copyright
file as Debian ships it. Usage: write_notices.py OUT MAP..."""

import sys

import debian_components

HEADER = """OvraMed 临床工具：第三方组件声明
Third-party notices for the OvraMed clinical tools

每个程序都静态链接了下列组件；各组件取自所列的 Debian 软件包，其许可证全文照录于后。
Each program is statically linked with the components below. Each was taken from the Debian package named;
its licence follows as that package's copyright file states it.
"""


def Notices(components):
    lines = [HEADER, "Components / 组件:"]
    for c in components:
        lines.append(f"  {', '.join(c['supplied'])}: Debian package {c['package']} {c['version']} "
                     f"({c['licence']})")
    seen = {}
    for c in components:
        lines += ["", "=" * 78, f"{c['package']} {c['version']}", f"Supplied: {', '.join(c['supplied'])}",
                  f"Licence: {c['licence']}", "=" * 78]
        text = open(c["copyrightFile"], encoding="utf-8", errors="replace").read() if c["copyrightFile"] else ""
        if not text:
            lines.append("(the package ships no copyright file)")
        elif text in seen:
            lines.append(f"The copyright file is that of {seen[text]}, above.")
        else:
            seen[text] = c["package"]
            lines.append(text.rstrip("\n"))
    return "\r\n".join("\n".join(lines).split("\n")) + "\r\n"


def main(out, maps):
    merged = {}
    for components in debian_components.ComponentsFromMaps(maps).values():
        for c in components:
            merged.setdefault(c["package"], c | {"supplied": set()})["supplied"].update(c["supplied"])
    components = [c | {"supplied": sorted(c["supplied"])} for _, c in sorted(merged.items())]
    if not components:
        sys.exit("write_notices: the maps name no archive of an installed package")
    with open(out, "w", encoding="utf-8-sig", newline="") as f:
        f.write(Notices(components))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
