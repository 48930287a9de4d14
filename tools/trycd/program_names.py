"""The program's own names that the try-out needs: where the setup lies on a disc. The
build writes them from the program's headers into program_names.txt (cmake/
program_names.cmake), which the tools package carries beside try-cd."""
from pathlib import Path, PurePosixPath

TABLE = "program_names.txt"


def setup_on_disc(*folders):
    """The setup's path below a disc's root ("_red40/bin/setup.exe"), from the table in
    the first of FOLDERS that has one; None where none has."""
    for folder in folders:
        table = Path(folder) / TABLE
        if table.is_file():
            names = dict(line.split(" ", 1) for line in table.read_text().splitlines() if line)
            return str(PurePosixPath(names["program-folder"]) / names["setup"])
    return None
