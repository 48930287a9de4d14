#!/usr/bin/env python3
"""Runs a command with PATH reduced to the programs that a set of tools/system-needs.txt
brings to a minimal Debian root: the programs of its packages, of the packages they
depend on, and of Debian's required packages (and apt), as a root made by
`debootstrap --variant=minbase` plus `tools/install-deps.sh SET` has them. A program the
command calls that its set does not install is then not found, as on a fresh machine.

usage: set_path.py [--table FILE] SET -- COMMAND...
Reads the packages installed on this machine, so every package of SET must be installed.
"""
import argparse
import os
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
from trycd import system_needs  # noqa: E402

PROGRAM_FOLDERS = ("/usr/bin", "/usr/sbin", "/bin", "/sbin")
DPKG_INFO = Path("/var/lib/dpkg/info")


def installed_packages():
    """{name: (priority, [alternatives of each dependency], [virtual names it provides],
    [its dpkg names with architecture])} of every installed package."""
    listing = subprocess.run(
        ["dpkg-query", "-W", "-f",
         "${db:Status-Status}\t${binary:Package}\t${Package}\t${Priority}\t${Pre-Depends}, "
         "${Depends}\t${Provides}\n"],
        check=True, capture_output=True, text=True).stdout
    packages = {}
    for line in listing.splitlines():
        status, qualified, name, priority, depends, provides = line.split("\t")
        if status != "installed":
            continue
        dependencies = [[alternative.split()[0].split(":")[0] for alternative in item.split("|")]
                        for item in depends.split(",") if item.strip()]
        virtual = [item.split()[0] for item in provides.split(",") if item.strip()]
        _, _, _, names = packages.setdefault(name, (priority, [], [], []))
        packages[name][1].extend(dependencies)
        packages[name][2].extend(virtual)
        names.append(qualified)
    return packages


def closure(roots, packages):
    """The installed packages that installing `roots` brings: each dependency is met by
    its first alternative that is installed (or provided by an installed package), as apt
    would choose on a machine that has only these."""
    providers = {}
    for name, (_, _, virtual, _) in packages.items():
        for v in virtual:
            providers.setdefault(v, name)
    wanted, todo = set(), list(roots)
    while todo:
        name = todo.pop()
        name = name if name in packages else providers.get(name)
        if name is None or name in wanted:
            continue
        wanted.add(name)
        for alternatives in packages[name][1]:
            chosen = next((a for a in alternatives if a in packages or a in providers), None)
            if chosen:
                todo.append(chosen)
    return wanted


def usr_merged(path):
    """/bin/x and /usr/bin/x are one file on a Debian 12 machine; dpkg may record either."""
    for short in ("/bin/", "/sbin/", "/lib/"):
        if path.startswith(short):
            return "/usr" + path
    return path


def owned_files(names, packages):
    files = set()
    for name in names:
        for qualified in packages[name][3]:
            for listing in (DPKG_INFO / f"{qualified}.list", DPKG_INFO / f"{name}.list"):
                if listing.exists():
                    files.update(usr_merged(line) for line in listing.read_text().splitlines())
                    break
    return files


def programs_of_set(set_name, table):
    """{program name: path} of what a minimal root with the set's packages has."""
    packages = installed_packages()
    needs = system_needs.packages_of(system_needs.of_set(set_name, table))
    absent = [n.package for n in needs if n.package not in packages]
    if absent:
        sys.exit(f"set_path: not installed here: {' '.join(absent)} "
                 f"(tools/install-deps.sh {set_name} installs them)")
    base = [name for name, (priority, *_) in packages.items() if priority == "required"]
    files = owned_files(closure(base + ["apt"] + [n.package for n in needs], packages), packages)
    programs = {}
    for folder in PROGRAM_FOLDERS:
        for entry in sorted(Path(folder).iterdir()):
            if entry.name not in programs and usr_merged(os.path.realpath(entry)) in files:
                programs[entry.name] = str(entry)
    return programs


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--table", type=Path, default=system_needs.TABLE)
    parser.add_argument("set")
    parser.add_argument("command", nargs="*")
    options = parser.parse_args(argv)
    if not options.command:
        parser.error("no command")
    programs = programs_of_set(options.set, options.table)
    with tempfile.TemporaryDirectory(prefix="set-path-") as folder:
        for name, path in programs.items():
            os.symlink(path, os.path.join(folder, name))
        env = dict(os.environ, PATH=folder)
        return subprocess.call(options.command, env=env)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
