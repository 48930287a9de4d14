"""The Wine machines of one try: a run folder, and in it a machine per Windows.

The machines are the end-to-end rig's (tools/rig/machine.sh), which the scenarios and the
demo start too: this module only calls it. Every process of a machine carries the rig's
mark, by which close() ends everything a try started (Wine processes, displays, mounts),
also when the try is interrupted. A try killed outright leaves them and its run folder:
the next try's rig ends and removes them.
"""
import os
import signal
import subprocess
import tempfile
from pathlib import Path

from . import system_needs

MACHINE_SH = Path(__file__).resolve().parent.parent / "rig" / "machine.sh"


class RigError(RuntimeError):
    pass


class Interrupted(BaseException):
    """A signal asked the try to stop; close() still runs."""

    def __init__(self, signum):
        super().__init__(signal.Signals(signum).name)
        self.signum = signum


def raise_on_signals():
    def handler(signum, _frame):
        raise Interrupted(signum)

    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, handler)


def ignore_signals():
    """While closing: a second Ctrl-C must not leave half of it undone."""
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, signal.SIG_IGN)


def rig_function(name, *args, arch="x86_64", env=None):
    """Runs a function of the rig for a machine of ARCH, in the environment ENV (a
    machine's, else this process's); its standard output."""
    done = subprocess.run(["bash", "-c", f'. "$0"; {name} "$@"', str(MACHINE_SH),
                           *map(str, args)],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                          env=dict(os.environ if env is None else env, RIG_ARCH=arch))
    if done.returncode != 0:
        raise RigError(f"{name}: {done.stderr.strip() or 'failed'}")
    return done.stdout.strip()


def machine_processes(folder):
    """The processes of the machines in FOLDER (a machine's or a try's), by the rig's mark."""
    return [int(pid) for pid in rig_function("rig_machine_processes", folder).split()]


def emulated(arch):
    """Whether a program of ARCH runs on the rig's 32-bit machine: an i686 one where this
    host's Wine runs no 32-bit program."""
    return arch == "i686" and rig_function("rig32_native", arch=arch) != "yes"


def machine_for(arch):
    """How this host starts a program of ARCH: "" where it cannot, else a description."""
    if arch == "x86_64":
        return "x86_64, in Wine"
    if arch != "i686":
        return ""
    if emulated(arch):
        return "i686, on the rig's 32-bit machine (an i386 root under qemu-i386)"
    return "i686, in this machine's 32-bit Wine"


def machine32_problem():
    """Why this host cannot start the rig's 32-bit machine, or ""."""
    if os.geteuid() != 0:
        return "the 32-bit machine needs root (binfmt_misc, chroot)"
    return system_needs.first_missing(system_needs.of_set("machine32"))


# Starts a machine, hands its environment over (NAME=VALUE records, then an empty one)
# and stays as the parent of its display until the display ends.
START_MACHINE = '. "$0"; rig_machine_start "$1" "$2" || exit; env -0; printf "\\0"; wait'


class Machine:
    """One Windows: a prefix with that version set, a display, drive D: the disc."""

    def __init__(self, session, windows, arch):
        self.session = session
        self.windows = windows
        # The 32-bit machine where this host's Wine runs no 32-bit program.
        self.emulated = emulated(arch)
        self.arch = "i686" if self.emulated else "x86_64"
        self.folder = session.folder / windows.folder
        self.prefix = self.folder / "prefix"
        self.starter = None  # the shell that started the machine
        self.env = None

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    def start(self, pristine, disc_folder):
        self.folder.mkdir()
        self.shared = [self.session.folder, disc_folder]
        settings = {"RIG_ARCH": self.arch}
        # Wine takes the ANSI code page from the locale: the run's language is its own.
        if self.windows.language:
            settings["RIG_RUN_LOCALE"] = self.windows.language.locale
        if self.session.visible:
            settings["RIG_USE_DISPLAY"] = "1"
        # In a session of its own: Ctrl-C reaches the try, which ends the machine.
        self.starter = subprocess.Popen(
            ["bash", "-c", START_MACHINE, str(MACHINE_SH), str(self.folder), str(pristine)],
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
            env=dict(os.environ, **settings), start_new_session=True)
        self.env = self._handed_environment()
        self._rig("rig_map_drive", "D", disc_folder)
        if self.windows.version != "default":
            self._rig("rig_prefix_setting", r"Software\Wine", "Version", self.windows.version)
        if self.windows.language:
            # Wine's first start in another language rewrites its keyboard, font and
            # international settings: done before the run, they are not the setup's.
            self.wine("language", "cmd", "/c", "exit")
            self.end_programs()

    def _handed_environment(self):
        received = b""
        while not received.endswith(b"\0\0"):
            chunk = os.read(self.starter.stdout.fileno(), 65536)
            if not chunk:
                _, error = self.starter.communicate()
                raise RigError(error.decode(errors="replace").strip() or "no machine started")
            received += chunk
        return dict(os.fsdecode(record).split("=", 1) for record in received[:-2].split(b"\0"))

    def _rig(self, name, *args):
        return rig_function(name, *args, arch=self.arch, env=self.env)

    def wine(self, name, *args, timeout=180):
        """Runs a Windows program; its exit status and the bytes of its output, which goes
        to NAME.out/.err in the machine's folder."""
        if self.session.closing:
            raise RigError("the try is ending")
        out, err = self.folder / f"{name}.out", self.folder / f"{name}.err"
        with open(out, "wb") as out_file, open(err, "wb") as err_file:
            code = subprocess.call(
                ["bash", "-c", '. "$0"; rig_run_limited "$@"', str(MACHINE_SH), str(timeout),
                 *map(str, self.shared), "--", "wine", *args],
                stdout=out_file, stderr=err_file, env=self.env)
        return code, out.read_bytes()

    def share(self, folder):
        """FOLDER of the host is seen by the machine's programs at its own path."""
        self.shared.append(Path(folder))

    @staticmethod
    def windows_path(host_path):
        """The path of a host file as Wine's drive Z: (the host's root) shows it."""
        return "Z:" + str(Path(host_path).resolve()).replace("/", "\\")

    def end_programs(self):
        """Ends every program of the machine; Wine writes its registry files then."""
        self._rig("rig_end_programs", *self.shared)

    def stop(self):
        rig_function("rig_end_machine", self.folder)
        # The shell that started the machine ends with its display; one still starting
        # it is left to the session's close.
        if self.env is not None and self.starter is not None:
            try:
                self.starter.communicate(timeout=10)
                self.starter = None
            except subprocess.TimeoutExpired:
                pass


class Session:
    """The run folder of one try, below WORK/runs, and every machine started in it."""

    def __init__(self, work, visible):
        self.work = Path(work)
        self.visible = visible
        self.machines = []
        runs = self.work / "runs"
        runs.mkdir(parents=True, exist_ok=True)
        rig_function("rig_remove_abandoned_runs", runs)
        self.folder = Path(tempfile.mkdtemp(prefix=f"try-cd.{os.getpid()}.", dir=runs))
        (self.folder / "owner").write_text(f"{os.getpid()}\n")
        self._pristine = {}
        self.closing = False

    def pristine(self, arch):
        if arch not in self._pristine:
            # rig_pristine_prefix wants the build folder that holds e2e-rig.
            self._pristine[arch] = rig_function("rig_pristine_prefix", self.work.parent, arch=arch)
        return self._pristine[arch]

    def machine(self, windows, disc_folder, arch):
        if self.closing:
            raise RigError("the try is ending")
        machine = Machine(self, windows, arch)
        self.machines.append(machine)
        machine.start(self.pristine(machine.arch), disc_folder)
        return machine

    def readonly_view(self, folder, view):
        """FOLDER at VIEW, read-only as pressed: mounted where this user may mount, else
        copied."""
        rig_function("rig_readonly_view", folder, view)

    def stop_machines(self):
        """Ends every machine's Wine and display; none can be started afterwards."""
        self.closing = True
        for machine in list(self.machines):
            machine.stop()

    def close(self):
        self.stop_machines()
        # Also what a machine still starting started, and the mounts of the disc's view.
        rig_function("rig_remove_run", self.folder)
