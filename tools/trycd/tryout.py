"""One Windows tried: the setup run from drive D: once (or twice), each run described
as a user met it, with what it left on the machine."""
import subprocess
import time
from dataclasses import dataclass, field
from pathlib import Path, PureWindowsPath

from . import disc as disc_module
from . import driver_output, machine_state, program_type
from . import rig as rig_module

# How a run ended, best first: the exit status of the try is the worst of its runs.
STARTED, EARLY, NOT_TRIED = 0, 1, 2


@dataclass
class Answers:
    """What the driver answers: the destination dialog's controls, the agreement, the
    browser dialog's row; empty lists leave a window's defaults."""
    destination: list = field(default_factory=list)
    agreement: bool = True
    browser: list = field(default_factory=list)
    reinstall: bool = None  # None: no second run

    def replies(self, second_run):
        replies = []
        if second_run:
            # The reinstall question is the only window with Yes (6) and No (7).
            replies.append(f"*={6 if self.reinstall else 7}")
        # The setup's dialogs by what they are, which the driver tells in any language.
        replies.append("@destination=" + "".join(a + ";" for a in self.destination)
                       + "default")
        replies.append(f"@agreement={1 if self.agreement else 2}")
        replies.append("@browser=" + "".join(a + ";" for a in self.browser) + "default")
        replies.append("*=default")
        return replies


@dataclass
class Run:
    title: str
    driver: driver_output.DriverRun = None
    pictures: dict = field(default_factory=dict)  # NN.bmp -> PNG path
    left: machine_state.Left = None
    verdict: int = NOT_TRIED
    ending: str = ""  # how it ended, in words
    detail: list = field(default_factory=list)  # lines that say more about the end

    @property
    def last_window(self):
        """The last window the user saw: its title, and its message where the run
        ended early there."""
        shown = [w for w in self.driver.windows if not w.hidden] if self.driver else []
        if not shown:
            return ""
        last = shown[-1]
        if last.message and self.verdict != STARTED:
            return f'"{last.title}": {last.message}'
        return f'"{last.title}"'


@dataclass
class Tried:
    windows: object  # windows.Windows
    view: object = None  # disc.View
    setup_path: str = ""
    runs: list = field(default_factory=list)
    problem: str = ""  # why it could not be tried
    seconds: float = 0
    build: str = ""  # the setup's build, and where it ran

    @property
    def verdict(self):
        if self.problem:
            return NOT_TRIED
        return max((run.verdict for run in self.runs), default=NOT_TRIED)


def exit_status(tried_list):
    """The try's exit status: the worst of its runs, whichever Windows and run it was."""
    return max((tried.verdict for tried in tried_list), default=NOT_TRIED)


def judge(run):
    driver = run.driver
    if driver.program_state in ("running", "ended"):
        run.verdict = STARTED
        run.ending = f"started {driver.program}"
    elif driver.cannot_start:
        run.verdict = NOT_TRIED
        run.ending = "the setup could not be started"
        run.detail.append(driver.cannot_start)
    else:
        run.verdict = EARLY
        last = run.last_window
        run.ending = f"ended early, at {last}" if last else "ended early, without a window"
    if driver.exit_line and run.verdict != STARTED:
        run.detail.append(driver.exit_line.replace("it ", "the setup ", 1))


def try_windows(session, disc, windows, answers, timeout_s, guidrivers, pictures, setup_on_disc):
    """Tries the setup on one Windows, the program SETUP_ON_DISC below the disc's root
    ("_red40/bin/setup.exe"); never raises for what the CD does."""
    began = time.monotonic()
    tried = Tried(windows)
    try:
        tried.view = disc.view(windows)
    except disc_module.CannotRead as error:
        tried.problem = str(error)
        return tried
    setup = disc_module.find(tried.view.folder, setup_on_disc)
    if setup is None:
        # As the customer meets it: there is no setup to start.
        tried.problem = (f"drive D: as this Windows reads it has no {PureWindowsPath(setup_on_disc)}: "
                         "there is no setup to start")
        return tried
    relative = setup.parent.relative_to(tried.view.folder)
    setup_dir = "D:\\" + str(relative).replace("/", "\\")
    tried.setup_path = setup_dir + "\\" + setup.name
    # The setup as pressed, in the machine its build needs; never another file.
    arch = program_type.architecture(setup)
    tried.build = rig_module.machine_for(arch)
    if not tried.build:
        tried.problem = f"its setup.exe is {arch}: this machine cannot start it"
        return tried
    if rig_module.emulated(arch) and rig_module.machine32_problem():
        tried.problem = (f"its setup.exe is i686, and this machine's Wine runs no 32-bit "
                         f"program: {rig_module.machine32_problem()}")
        return tried
    if arch not in guidrivers:
        tried.problem = (f"the {arch} GUI driver is not built (cmake --build --preset "
                         f"{'mingw32' if arch == 'i686' else 'mingw64'} --target guidriver)")
        return tried
    machine = session.machine(windows, tried.view.folder, arch)
    machine.share(guidrivers[arch].parent)
    driver_exe = machine.windows_path(guidrivers[arch])
    second = [False] + ([True] if answers.reinstall is not None else [])
    for number, second_run in enumerate(second, 1):
        title = ("a machine without an earlier installation" if not second_run else
                 "the earlier installation is found; reinstall: "
                 + ("yes" if answers.reinstall else "no"))
        run = Run(f"Run {number}: {title}")
        tried.runs.append(run)
        one_run(machine, run, f"run{number}", setup_dir, tried.setup_path, driver_exe,
                answers.replies(second_run), timeout_s, pictures / windows.folder)
    tried.seconds = time.monotonic() - began
    return tried


def one_run(machine, run, name, setup_dir, setup_path, driver_exe, replies, timeout_s, pictures):
    stamp = machine.folder / f"{name}.stamp"
    stamp.touch()
    before = machine_state.read_registry(machine.prefix)
    ini_before = machine_state.read_ini_files(machine.drive_c, machine.windows.encoding)
    shots = machine.folder / name
    shots.mkdir()
    _code, account = machine.wine(
        name, driver_exe, "try", setup_dir, str(timeout_s * 1000), setup_path,
        machine.windows_path(shots), *replies, timeout=timeout_s + 60)
    encoding = machine.windows.encoding
    run.driver = driver_output.parse(account, encoding)
    pictures.mkdir(parents=True, exist_ok=True)
    for bmp in sorted(shots.glob("*.bmp")):
        png = pictures / f"{name}-{bmp.stem}.png"
        if subprocess.call(["convert", str(bmp), str(png)]) == 0:
            run.pictures[bmp.name] = png
    # The program the setup started ends with the run's other processes, and Wine
    # writes the registry as they end.
    machine.end_programs()
    after = machine_state.read_registry(machine.prefix)
    run.left = machine_state.read_left(machine.drive_c, stamp, before, after, ini_before,
                                       machine.windows)
    judge(run)
