"""Reads the GUI driver's account of a run (guidriver try) into windows and an end."""
import re
from dataclasses import dataclass, field

WINDOW = re.compile(r'^window "(?P<title>.*)" class (?P<cls>\S+) process \d+(?P<hidden> \(hidden\))?$')
ANSWER = re.compile(r"^  (pressed button|typed into|set check box|chose row|the reply could not)")


@dataclass
class Window:
    title: str
    class_name: str
    hidden: bool
    message: str = ""
    controls: list = field(default_factory=list)  # the lines the driver printed
    picture: str = ""  # NN.bmp
    answers: list = field(default_factory=list)


@dataclass
class DriverRun:
    windows: list = field(default_factory=list)
    started: list = field(default_factory=list)  # "PATH (process N)"
    program: str = ""  # the program the setup started, or ""
    program_state: str = ""  # "running", "ended", "not started"
    program_id: str = ""
    exit_line: str = ""  # "it ended with exit code 0", "it did not end ..."
    cannot_start: str = ""
    text: str = ""  # the whole account


def parse(account, encoding="latin-1"):
    """The driver's account, as the bytes it wrote: its texts are the ANSI strings of
    the windows and paths, in the code page of ENCODING."""
    text = account.decode(encoding, "replace").replace("\r", "")
    run = DriverRun(text=text)
    window = None
    for line in text.splitlines():
        match = WINDOW.match(line)
        if match:
            window = Window(match["title"], match["cls"], bool(match["hidden"]))
            run.windows.append(window)
        elif line.startswith("  message: ") and window:
            window.message = line[len('  message: "'):-1]
        elif line.startswith("  control ") and window:
            window.controls.append(line[2:])
        elif line.startswith("  picture ") and window and line.endswith(".bmp"):
            window.picture = line.split()[1]
        elif ANSWER.match(line) and window:
            window.answers.append(line.strip())
        elif line.startswith("process started: "):
            match = re.match(r"process started: (\d+) (.*) \(by \d+\)$", line)
            if match:
                run.started.append(f"{match[2]} (process {match[1]})")
        elif line.startswith("program "):
            match = re.match(r"program (\d+) (.*): (running|ended)$", line)
            if match:
                run.program_id, run.program, run.program_state = match[1], match[2], match[3]
            else:
                run.program_state = "not started"
        elif line.startswith("it ended with") or line.startswith("it did not end"):
            run.exit_line = line
        elif line.startswith("cannot start"):
            run.cannot_start = line
    return run
