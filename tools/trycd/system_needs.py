"""What the project needs from a Debian system (tools/system-needs.txt): one row a package,
with the sets that need it and the programs (or files) of it that are called; or a
locale, with the program that makes it."""
import shutil
import subprocess
from dataclasses import dataclass
from pathlib import Path

TABLE = Path(__file__).resolve().parent.parent / "system-needs.txt"
LOCALE_ROW = "locale:"


@dataclass(frozen=True)
class Need:
    package: str
    sets: tuple
    calls: tuple
    suite: str = ""  # a suite beyond the machine's own (PACKAGE/SUITE in the table)

    @property
    def locale(self):
        """The locale a locale row names (ja_JP.UTF-8), or "" for a package."""
        return self.package[len(LOCALE_ROW):] if self.package.startswith(LOCALE_ROW) else ""

    def missing(self):
        """The first program (on PATH) or file of the row that this system lacks, or None;
        for a locale, the locale when the system has not made it."""
        if self.locale:
            return None if locale_made(self.locale) else f"the locale {self.locale}"
        for call in self.calls:
            found = Path(call).exists() if call.startswith("/") else shutil.which(call)
            if not found:
                return call
        return None


def read(table=TABLE):
    needs = []
    for number, line in enumerate(Path(table).read_text().splitlines(), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        cells = line.split()
        if len(cells) != 3:
            raise ValueError(f"{table}:{number}: a row has three columns: package, for, calls")
        package, _, suite = cells[0].partition("/")
        needs.append(Need(package, tuple(cells[1].split(",")), tuple(cells[2].split(",")), suite))
    return needs


def of_set(name, table=TABLE):
    return [need for need in read(table) if name in need.sets]


def packages_of(needs):
    return [need for need in needs if not need.locale]


def locale_made(name):
    """Whether `locale -a` lists NAME: it writes ja_JP.UTF-8 as ja_JP.utf8."""
    def plain(text):
        return text.lower().replace("-", "")
    listed = subprocess.run(["locale", "-a"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            text=True, errors="replace").stdout.split()
    return plain(name) in map(plain, listed)


def first_missing(needs):
    """What the first of NEEDS that this system lacks is, in words; "" when none is."""
    for need in needs:
        missing = need.missing()
        if missing:
            if need.locale:
                language, _, charset = need.locale.partition(".")
                return (f"{missing} is not made (as root: localedef -i {language} -f {charset} "
                        f"{need.locale}; Debian package locales)")
            suite = f" from {need.suite}" if need.suite else ""
            return f"{missing} is missing (Debian package {need.package}{suite})"
    return ""
