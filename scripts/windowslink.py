"""MarunIzbor.exe's link in a Windows build, read back: the command CMake ran, and what it took in.
Shared by make-relinking-kit and make-sbom."""
import os
import pathlib
import re
import shlex
import subprocess


def command(build):
    """The link command as CMake runs it, response files (@FILE) spliced in, and the folder it runs in."""
    folder = build / "app"
    lines = [line for line in (build / "app/CMakeFiles/MarunIzbor.dir/link.txt").read_text().splitlines()
             if line.strip()]
    if not lines:
        raise SystemExit(f"no link command for MarunIzbor.exe in {build} (build it first)")

    def expand(words):
        for word in words:
            if word.startswith("@"):
                yield from expand(shlex.split((folder / word[1:]).read_text()))
            else:
                yield word

    return list(expand(shlex.split(lines[-1]))), folder


def archives(build):
    """Every archive that the linker was given, with the C and C++ runtimes that the compiler adds: the
    compiler's own account of its call of the linker (-###), its -l names found in its -L folders as a
    static link finds them."""
    words, folder = command(build)
    shown = subprocess.run([words[0], "-###"] + words[1:], cwd=folder, capture_output=True, text=True, check=True)
    linker = next(call for call in map(shlex.split, shown.stderr.splitlines()) if call and call[0].endswith("lld"))
    folders = [pathlib.Path(word[2:]) for word in linker if word.startswith("-L")]
    found = []
    for word in linker[1:]:
        if word.startswith("-l"):
            candidates = [f / f"lib{word[2:]}.a" for f in folders] + [f / f"{word[2:]}.lib" for f in folders]
            found += [next((c.resolve() for c in candidates if c.is_file()), None)] if candidates else []
        elif word.endswith(".a"):
            found.append(pathlib.Path(os.path.normpath(folder / word)).resolve())
    return [path for path in dict.fromkeys(found) if path is not None]


def taken_in(build):
    """The archives from which the link took at least one member, by its map (MarunIzbor.map): lld names
    a member of an archive by the member's name alone, which is looked up in the archives' own lists."""
    # An input's line: address, size, alignment, then the input (a file, or an archive's member) and its
    # section, "eh_alloc.o:(.text)"; a symbol's line is indented further.
    piece = re.compile(r"^[0-9a-f]{8} [0-9a-f]{8} +[0-9]+ {9}(\S[^:]*):\(")
    members = {match.group(1) for line in (build / "MarunIzbor.map").read_text(errors="replace").splitlines()
               if (match := piece.match(line))}
    taken = []
    for archive in archives(build):
        listed = subprocess.run(["llvm-ar-14", "t", str(archive)], capture_output=True, text=True)
        if listed.returncode == 0 and members & set(listed.stdout.split("\n")):
            taken.append(archive)
    return taken
