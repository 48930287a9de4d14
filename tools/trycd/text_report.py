"""The try told on the terminal: each Windows's runs, what they left, and the matrix."""
from .tryout import STARTED, EARLY

ENDINGS = {STARTED: "every run ended with the installed program started",
           EARLY: "a run ended early (see its end above)"}


def say(title):
    print(f"\n== {title}", flush=True)


def print_tried(tried):
    who = f"{tried.windows.title} ({tried.windows.name})"
    say(f"{who}: the CD")
    if tried.view:
        print(f"  {tried.view.note}")
    if tried.problem:
        print(f"  cannot try: {tried.problem}")
        return
    print(f"  setup {tried.setup_path}: {tried.build}")
    for run in tried.runs:
        say(f"{who}, {run.title}")
        for line in run.driver.text.splitlines():
            if line.startswith("  picture ") and line.split()[-1] in run.pictures:
                line = f"  picture {run.pictures[line.split()[-1]]}"
            print(f"  {line}")
        say(f"{who}, {run.title}: what it left")
        print_left(run.left)
        say(f"{who}, {run.title}: the end")
        print(f"  {run.ending}")
        for line in run.detail:
            print(f"  {line}")


def print_left(left):
    if not left.files:
        print("  no file was copied or written on drive C:")
    else:
        print(f"  files on drive C: ({left.file_count} in all), by folder:")
        for folder, count in sorted(left.files.items()):
            print(f"    {count:5d}  {folder}")
    for path, text in left.settings.items():
        print(f"  settings written, {path}:")
        for line in text.split("\n"):
            print(f"    {line}")
    for path, fields in left.shortcuts.items():
        print(f"  shortcut {path} (lnkinfo):")
        for line in fields:
            print(f"    {line}")
    print("  registry values written:")
    if not left.registry:
        print("    (none)")
    for key, lines in left.registry.items():
        print(f"    {key}")
        for line in lines:
            print(f"      {line}")


def matrix_rows(tried_list):
    """One row a run: the columns of the matrix, as text."""
    rows = []
    for tried in tried_list:
        if tried.problem:
            rows.append([tried.windows.name, "not tried: " + tried.problem, "", "", "", ""])
            continue
        for number, run in enumerate(tried.runs, 1):
            version = tried.windows.name + (f" run {number}" if len(tried.runs) > 1 else "")
            program = run.driver.program or "none"
            rows.append([version, run.ending.split(",")[0], run.last_window or "none", program,
                         links_cell(tried.windows, run.left), settings_cell(run.left)])
    return rows


def links_cell(windows, left):
    """The shortcuts, or on a Windows whose shell is Program Manager the group they stand
    for."""
    if not left.shortcuts:
        return "none"
    folders = sorted({path.rsplit("\\", 2)[-2] for path in left.shortcuts})
    names = ", ".join(path.rsplit("\\", 1)[-1] for path in left.shortcuts)
    if windows.program_manager:
        return f"Program Manager group {', '.join(folders)}: {names}"
    return f"shortcuts {names}"


def settings_cell(left, shown=3):
    """The INI records the run added or changed, by file, and the registry's count."""
    cells = []
    for path, records in left.records.items():
        more = f" (and {len(records) - shown} more)" if len(records) > shown else ""
        cells.append(f"{path.rsplit(chr(92), 1)[-1]}: {', '.join(records[:shown]) or 'rewritten'}"
                     + more)
    values = sum(len(lines) for lines in left.registry.values())
    cells.append(f"registry: {values} values")
    return "; ".join(cells)


MATRIX_HEADER = ["Windows", "how the run ended", "last window", "program started",
                 "shortcuts or Program Manager group", "settings written"]


def print_matrix(tried_list, status, seconds):
    say("Matrix")
    rows = [MATRIX_HEADER] + matrix_rows(tried_list)
    for row in rows:
        print("  " + " | ".join(row))
    say("Summary")
    print(f"  {ENDINGS.get(status, 'the setup could not be tried on every Windows')}")
    print(f"  tried in {seconds:.0f} s")
