#!/usr/bin/env python3
"""Fails when a source file includes from a folder above its own.

The folders of src/ stack from the bottom up; a file may include from its own folder and the
folders below it. The updater is its own program on win/, config/ and the engine's readers.
Run with --list to print how many includes run from each folder to each other folder."""
import pathlib
import re
import sys

ORDER = ["resources", "win", "config", "engine", "heal", "pages", "app"]
# Besides its own folder, what each folder may include.
ALLOWED = {folder: set(ORDER[: i + 1]) for i, folder in enumerate(ORDER)}
ALLOWED["updater"] = {"updater", "resources", "win", "config", "engine"}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def main() -> int:
    src = pathlib.Path(__file__).resolve().parent.parent / "src"
    counts: dict[tuple[str, str], int] = {}
    wrong = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in {".h", ".cpp", ".rc"}:
            continue
        folder = path.relative_to(src).parts[0]
        if folder not in ALLOWED:
            continue
        for included in INCLUDE.findall(path.read_text(errors="replace")):
            parts = pathlib.PurePosixPath(included).parts
            target = parts[0] if len(parts) > 1 and parts[0] in ALLOWED else folder
            counts[(folder, target)] = counts.get((folder, target), 0) + 1
            if target not in ALLOWED[folder]:
                wrong.append(f"{path.relative_to(src)}: includes {included} ({folder} may not include {target})")
    if "--list" in sys.argv:
        for (a, b), n in sorted(counts.items(), key=lambda kv: (ORDER.index(kv[0][0]) if kv[0][0] in ORDER else 9, kv[0][1])):
            print(f"{a:>9} -> {b:<9} {n}")
    for line in wrong:
        print(line)
    if wrong:
        print(f"{len(wrong)} include(s) run against the layers: {' -> '.join(ORDER)}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
