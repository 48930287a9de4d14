"""The Windows versions a CD can be tried on and which of the disc's names each reads.

The table is tools/cdcheck/windows_reads.txt, which cdcheck builds in: both tools read a
name the same way.
"""
from dataclasses import dataclass
from pathlib import Path

TABLE = Path(__file__).resolve().parent.parent / "cdcheck" / "windows_reads.txt"

# Wine's own Windows, the version no setting changes.
DEFAULT = "default"


@dataclass(frozen=True)
class Windows:
    version: str  # Wine's name for it; DEFAULT for Wine's own
    reads: str  # "joliet" or "iso9660"
    who: str

    @property
    def reads_joliet(self):
        return self.reads == "joliet"

    @property
    def before_4(self):
        """Windows 3.1 and NT 3.x: Program Manager, no Start menu."""
        return self.reads == "iso9660"


def known():
    """The table's versions, in its order."""
    versions = {}
    for line in TABLE.read_text(encoding="utf-8").splitlines():
        words = line.split(None, 2)
        if len(words) == 3 and not line.startswith("#"):
            versions[words[0]] = Windows(words[0], words[1], words[2])
    # Wine's own version reads like the Windows it reports (a later one).
    versions[DEFAULT] = Windows(DEFAULT, "joliet", "Wine's default Windows")
    return versions


class UnknownVersion(ValueError):
    pass


def parse_list(text):
    """The versions of a comma-separated list, in its order, each once."""
    table = known()
    chosen = []
    for name in (part.strip().lower() for part in text.split(",")):
        if not name:
            continue
        if name not in table:
            raise UnknownVersion(
                f"unknown Windows version {name!r}; known: {', '.join(table)}")
        if table[name] not in chosen:
            chosen.append(table[name])
    if not chosen:
        raise UnknownVersion(f"no Windows version given; known: {', '.join(table)}")
    return chosen
