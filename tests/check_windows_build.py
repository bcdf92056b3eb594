#!/usr/bin/env python3
"""Type-checks for Windows every source file whose code differs per operating system.

    check_windows_build.py <build dir> <source dir>

A file has such code when one of its #if lines names an operating system (Q_OS_WIN,
_WIN32, Q_OS_UNIX, __linux__ ...): its Windows branch, or the code its Unix branch leaves
out there, is compiled by the MinGW cross compiler with -fsyntax-only, with the defines
and include folders the build gives the file (compile_commands.json) and the Qt headers
as system headers. A header, or a file the build does not compile, borrows the flags of
a file that includes it (in its own folder first), else of any file in its folder.
Warnings count as errors, as a redefined macro is one on Windows.
Exits 0 when all files pass, 1 when one fails, 77 (skipped) without MinGW.
"""
import concurrent.futures
import json
import os
import re
import shlex
import shutil
import subprocess
import sys

COMPILER = "x86_64-w64-mingw32-g++"
OS_BRANCH = re.compile(
    r"^\s*#\s*(if|ifdef|ifndef|elif)\b.*\b(Q_OS_[A-Z0-9]+|_WIN32|_WIN64|__unix__|__linux__|__APPLE__)\b", re.M)
SOURCE_SUFFIXES = (".cpp", ".h")


def files_with_os_branches(source_dir):
    found = []
    for folder, subfolders, files in os.walk(source_dir):
        # Build folders (build, build-asan ...) and hidden ones hold no sources of ours.
        subfolders[:] = sorted(d for d in subfolders if not d.startswith((".", "build")))
        for name in sorted(files):
            path = os.path.join(folder, name)
            if name.endswith(SOURCE_SUFFIXES):
                with open(path, encoding="utf-8", errors="replace") as f:
                    if OS_BRANCH.search(f.read()):
                        found.append(os.path.realpath(path))
    return found


def windows_flags(entry, own_folders):
    """The defines and include folders of a compile command; everything else is the
    host compiler's business. Folders outside `own_folders` (Qt's) are system folders,
    whose warnings are not ours."""
    words = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    flags, i = [], 0
    while i < len(words):
        word = words[i]
        for option in ("-D", "-isystem", "-I"):
            if word.startswith(option):
                value = word[len(option):]
                if not value and i + 1 < len(words):
                    i += 1
                    value = words[i]
                if option == "-I":
                    folder = os.path.realpath(os.path.join(entry["directory"], value))
                    if not any(folder == own or folder.startswith(own + os.sep) for own in own_folders):
                        option = "-isystem"
                flags += [option, value]
                break
        i += 1
    return flags


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    build_dir, source_dir = sys.argv[1:]
    compiler = shutil.which(COMPILER)
    if not compiler:
        print(f"SKIPPED: {COMPILER} is not installed (Debian package g++-mingw-w64-x86-64)")
        return 77
    with open(os.path.join(build_dir, "compile_commands.json"), encoding="utf-8") as f:
        entries = {os.path.realpath(os.path.join(e["directory"], e["file"])): e for e in json.load(f)}

    def borrowed_entry(path):
        """For a header: the flags of a file that includes it, one in its own folder first
        (shared helpers, such as the tests' support/, are included only from elsewhere),
        else of one beside it."""
        include = re.compile(r'^\s*#\s*include\s*"(?:.*/)?' + re.escape(os.path.basename(path)) + '"', re.M)
        beside = sorted(e for e in entries if os.path.dirname(e) == os.path.dirname(path))
        elsewhere = sorted(e for e in entries if os.path.dirname(e) != os.path.dirname(path))
        for other in beside + elsewhere:
            with open(other, encoding="utf-8", errors="replace") as f:
                if include.search(f.read()):
                    return entries[other]
        return entries[beside[0]] if beside else None

    own_folders = [os.path.realpath(source_dir), os.path.realpath(build_dir)]
    files = files_with_os_branches(source_dir)
    if not files:
        print(f"no file in {source_dir} has code for one operating system: nothing was checked")
        return 1

    def check(path):
        entry = entries.get(path) or borrowed_entry(path)
        if entry is None:
            return path, 1, "no compile command for this file or its folder in compile_commands.json"
        command = [compiler, "-std=c++20", "-fsyntax-only", "-x", "c++", "-Wall", "-Wextra", "-Wpedantic",
                   "-Werror", *windows_flags(entry, own_folders)]
        # A header is compiled as a file that includes it, as "#pragma once" expects.
        header = not path.endswith(".cpp")
        done = subprocess.run(command + (["-"] if header else [path]), input=f'#include "{path}"\n' if header else "",
                              cwd=entry["directory"], capture_output=True, text=True)
        return path, done.returncode, done.stdout + done.stderr

    failures = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        for path, status, output in pool.map(check, files):
            shown = os.path.relpath(path, source_dir)
            print(f"{'ok  ' if status == 0 else 'FAIL'} {shown}")
            if status != 0:
                failures += 1
                print(output, end="" if output.endswith("\n") else "\n")
    print(f"{len(files) - failures} of {len(files)} files type-check for Windows")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
