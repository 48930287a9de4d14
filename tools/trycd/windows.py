"""The Windows versions a CD can be tried on, each with its facts: which of the disc's
names it reads and whether its shell is Program Manager or a Start menu; each in Wine's
own language or in one of the double-byte languages ("win95:ja").

The table is tools/windows_versions.txt, which cdcheck builds in: both tools read a name
the same way.
"""
from dataclasses import dataclass, replace
from pathlib import Path

TABLE = Path(__file__).resolve().parent.parent / "windows_versions.txt"

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
    shell: str  # "progman" (Program Manager, a group through DDE) or "startmenu"
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
    def program_manager(self):
        """Its shell is Program Manager, which has groups where others have a Start menu."""
        return self.shell == "progman"


def known():
    """The table's versions, in its order, Wine's own (DEFAULT) among them."""
    versions = {}
    for line in TABLE.read_text(encoding="utf-8").splitlines():
        words = line.split(None, 3)
        if len(words) == 4 and not line.startswith("#"):
            versions[words[0]] = Windows(*words)
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
