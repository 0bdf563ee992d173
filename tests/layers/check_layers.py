#!/usr/bin/env python3
"""Checks the include rules of the layout: layers run one way.

- common/ includes nothing of the project outside common/.
- platform/ includes only common/ and platform/.
- code/ (the language) includes only common/, platform/ and code/, and of the
  game world only the instance class and the instance list that variables
  live in; the loaded game's tables (runner/game_data.h) are read through it
  until they have a home below the language.

Prints every breach as path:line: message and exits 1 when there is one.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2])
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
RULES = {
    "common": ({"common"}, set()),
    "platform": ({"common", "platform"}, set()),
    "code": ({"common", "platform", "code"},
             {"world/instance_class.h", "world/instance_list.h", "runner/game_data.h"}),
}


def project_folder(header):
    first = header.split("/", 1)[0]
    return first if "/" in header and (ROOT / first).is_dir() else None


def breaches(folder, allowed_folders, allowed_headers):
    for path in sorted((ROOT / folder).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            header = match.group(1)
            target = project_folder(header)
            if target is None or target in allowed_folders or header in allowed_headers:
                continue
            yield f"{path.relative_to(ROOT)}:{number}: {folder}/ must not include {header}"


def main():
    found = [b for folder, rule in RULES.items() for b in breaches(folder, *rule)]
    for line in found:
        print(line)
    if found:
        return 1
    print("layers: every include follows the rules")
    return 0


if __name__ == "__main__":
    sys.exit(main())
