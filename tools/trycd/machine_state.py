"""What a run left on a machine: files on drive C:, settings files written, shortcuts,
Program Manager groups, registry values. Read from the host side of the prefix, with
lnkinfo for the shortcuts and Wine's reg for the registry."""
import os
import re
import subprocess
from dataclasses import dataclass, field
from pathlib import Path

# Wine's own files, which every program start may touch.
SKIPPED = ("windows/system32/", "windows/syswow64/", "registry.reg")
LNK_FIELDS = ("Local path", "Working directory", "Command line arguments", "Description",
              "Icon location")


@dataclass
class Left:
    files: dict = field(default_factory=dict)  # C:\folder -> number of files
    settings: dict = field(default_factory=dict)  # C:\file.ini -> its text
    records: dict = field(default_factory=dict)  # C:\file.ini -> ["[section] key=value"] new
    shortcuts: dict = field(default_factory=dict)  # C:\...\x.lnk -> ["Local path: ..."]
    registry: dict = field(default_factory=dict)  # [key] -> ["name"="value", ...]

    @property
    def file_count(self):
        return sum(self.files.values())


def windows_name(relative):
    return "C:\\" + str(relative).replace("/", "\\")


def files_since(drive_c, stamp):
    """Files copied or written on drive C: since STAMP was made (not Wine's own)."""
    since = os.stat(stamp).st_mtime
    found = []
    for folder, _dirs, names in os.walk(drive_c):
        for name in names:
            path = Path(folder, name)
            relative = path.relative_to(drive_c).as_posix()
            try:
                info = path.lstat()
            except OSError:
                continue
            # The prefix's files shared with the pristine one are hard links: not the run's.
            if info.st_nlink != 1 or info.st_ctime < since or relative.startswith(SKIPPED):
                continue
            found.append((relative, info.st_mtime >= since))
    return sorted(found)


def lnk_fields(path, code_page=1252):
    # A shortcut's ANSI strings are in the code page of the Windows that wrote it.
    done = subprocess.run(["lnkinfo", "-c", f"windows-{code_page}", str(path)],
                          stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True, errors="replace")
    fields = []
    for line in done.stdout.splitlines():
        name, _, value = line.strip().partition(":")
        if name.strip() in LNK_FIELDS:
            fields.append(f"{name.strip()}: {value.strip()}")
    return fields


def ini_records(text):
    """The records of an INI text, each with its section: "[section] key=value"."""
    records, section = [], ""
    for line in text.split("\n"):
        line = line.strip()
        if line.startswith("["):
            section = line
        elif "=" in line and not line.startswith(";"):
            records.append(f"{section} {line}".strip())
    return records


def read_ini_files(drive_c, encoding="latin-1"):
    """Every INI file on drive C: but Wine's own, by its Windows name: its text, read in
    the machine's ANSI code page (ENCODING)."""
    texts = {}
    for folder, _dirs, names in os.walk(drive_c):
        for name in names:
            path = Path(folder, name)
            relative = path.relative_to(drive_c).as_posix()
            if name.lower().endswith(".ini") and not relative.startswith(SKIPPED):
                texts[windows_name(relative)] = read_text(path, encoding)
    return texts


def read_text(path, encoding):
    return path.read_bytes().decode(encoding, "replace").replace("\r", "")


def read_left(drive_c, stamp, before, after, ini_before, windows):
    """What the run on WINDOWS (windows.Windows: its code page) left."""
    left = Left()
    for relative, written in files_since(drive_c, stamp):
        folder = relative.rpartition("/")[0] or "."
        key = windows_name(folder) if folder != "." else "C:\\"
        left.files[key] = left.files.get(key, 0) + 1
        lower = relative.lower()
        # A copy keeps its source's time of change; a file the run wrote does not.
        if lower.endswith(".ini") and written:
            text = read_text(drive_c / relative, windows.encoding)
            name = windows_name(relative)
            left.settings[name] = "\n".join(line for line in text.split("\n") if line)
            earlier = set(ini_records(ini_before.get(name, "")))
            left.records[name] = [r for r in ini_records(text) if r not in earlier]
        elif lower.endswith(".lnk"):
            code_page = windows.language.code_page if windows.language else 1252
            left.shortcuts[windows_name(relative)] = lnk_fields(drive_c / relative, code_page)
    left.registry = registry_changes(before, after)
    return left


# The registry files of a prefix, with the keys they hold, as Windows names them.
REGISTRY_FILES = (("user.reg", "HKEY_CURRENT_USER", ""),
                  ("system.reg", "HKEY_LOCAL_MACHINE", "Software\\"))


# Wine's registry files write a UTF-16 unit outside ASCII as \x and up to four hex digits.
WINE_ESCAPE = re.compile(r"\\(x[0-9a-fA-F]{1,4}|.)")


def wine_text(text, key=False):
    """A line of a Wine registry file with its characters as Windows holds them. A value
    keeps the escapes of a .reg export (\\\\ and \\"); a key name has none."""
    def one(match):
        if match[1][0] == "x":
            return chr(int(match[1][1:], 16))
        return match[1] if key else match[0]
    # A character past U+FFFF comes as two units, joined here; a unit left alone is U+FFFD.
    units = WINE_ESCAPE.sub(one, text).encode("utf-16-le", "surrogatepass")
    return units.decode("utf-16-le", "replace")


def read_registry(prefix):
    """HKCU and HKLM\\Software from the prefix's registry files, which Wine writes when
    its programs have ended: {"[KEY]": {'"name"=value', ...}}."""
    values = {}
    for file_name, root, below in REGISTRY_FILES:
        try:
            text = (prefix / file_name).read_text(encoding="utf-8", errors="replace")
        except OSError:
            continue
        key = None
        for line in text.replace("\\\n", "").split("\n"):
            if line.startswith("["):
                name = wine_text(line[1:line.rindex("]")], key=True)
                key = f"[{root}\\{name}]" if name.lower().startswith(below.lower()) else None
            elif key and line[:1] in ('"', "@") and "=" in line:
                values.setdefault(key, set()).add(wine_text(line))
    return values


def registry_changes(before, after):
    changes = {}
    for key, lines in after.items():
        fresh = sorted(lines - before.get(key, set()))
        if fresh:
            changes[key] = fresh
    return changes
