"""The Windows versions a CD can be tried on and which of the disc's names each reads,
each in Wine's own language or in one of the double-byte languages ("win95:ja").

The table is tools/cdcheck/windows_reads.txt, which cdcheck builds in: both tools read a
name the same way.
"""
from dataclasses import dataclass, replace
from pathlib import Path

TABLE = Path(__file__).resolve().parent.parent / "cdcheck" / "windows_reads.txt"

# Wine's own Windows, the version no setting changes.
DEFAULT = "default"


@dataclass(frozen=True)
class Language:
    """A Windows sold in a language: Wine takes its ANSI code page from the locale."""
    code: str  # as a version names it: win95:ja
    locale: str  # LC_ALL of the run
    code_page: int
    name: str

    @property
    def encoding(self):
        """Python's codec of the ANSI code page, for the texts the run's programs write."""
        return f"cp{self.code_page}"


# The languages whose ANSI code page is double-byte; their locales are rows of
# tools/system-needs.txt, which install-deps.sh makes.
LANGUAGES = {language.code.lower(): language for language in (
    Language("ja", "ja_JP.UTF-8", 932, "Japanese"),
    Language("zh_CN", "zh_CN.UTF-8", 936, "Simplified Chinese"),
    Language("ko", "ko_KR.UTF-8", 949, "Korean"),
    Language("zh_TW", "zh_TW.UTF-8", 950, "Traditional Chinese"),
)}


@dataclass(frozen=True)
class Windows:
    version: str  # Wine's name for it; DEFAULT for Wine's own
    reads: str  # "joliet" or "iso9660"
    who: str
    language: Language = None  # None: the rig's own (code page 1252)

    @property
    def name(self):
        """As the list names it: win95, or win95:ja."""
        return self.version + (f":{self.language.code}" if self.language else "")

    @property
    def title(self):
        """Windows 95, or Windows 95 in Japanese (code page 932)."""
        if not self.language:
            return self.who
        return f"{self.who} in {self.language.name} (code page {self.language.code_page})"

    @property
    def folder(self):
        """A file name for it: win95, win95-ja."""
        return self.name.replace(":", "-")

    @property
    def encoding(self):
        """How the texts of its ANSI programs are read: Western unless a language says."""
        return self.language.encoding if self.language else "latin-1"

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
    """The versions of a comma-separated list, in its order, each once; VERSION:LANGUAGE
    is that version in a language of LANGUAGES."""
    table = known()
    chosen = []
    for name in (part.strip().lower() for part in text.split(",")):
        if not name:
            continue
        version, _, code = name.partition(":")
        if version not in table:
            raise UnknownVersion(
                f"unknown Windows version {version!r}; known: {', '.join(table)}")
        if code and code not in LANGUAGES:
            raise UnknownVersion(f"unknown language {code!r}; known: "
                                 + ", ".join(language.code for language in LANGUAGES.values()))
        windows = replace(table[version], language=LANGUAGES.get(code))
        if windows not in chosen:
            chosen.append(windows)
    if not chosen:
        raise UnknownVersion(f"no Windows version given; known: {', '.join(table)}")
    return chosen
