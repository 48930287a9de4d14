"""The Wine machines of one try: a run folder, a fresh prefix and display per Windows.

The pristine prefix and its cheap clones come from the end-to-end rig (tools/rig/rig.sh),
so the try-out, the demo and the scenarios boot Wine one way. Everything a try starts
(Wine processes, Xvfb, mounts) is recorded here and ended by close(), also when the try
is interrupted. A try killed outright leaves them and its run folder: the next try
ends the processes that carry its mark and removes the folder.
"""
import os
import shutil
import signal
import subprocess
import tempfile
from pathlib import Path

from . import system_needs

RIG_SH = Path(__file__).resolve().parent.parent / "rig" / "rig.sh"
# Marks the environment of every process a try starts, so its end can be checked.
RUN_MARK = "LUMORA_TRY_RUN"


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


def marked_processes(run_folder):
    """The processes a try started in RUN_FOLDER: those whose environment carries its mark."""
    mark = f"{RUN_MARK}={run_folder}\0".encode()
    found = []
    for entry in Path("/proc").iterdir():
        try:
            if entry.name.isdigit() and mark in (entry / "environ").read_bytes():
                found.append(int(entry.name))
        except OSError:
            pass  # ended meanwhile, or not ours to read
    return found


def kill_marked(run_folder):
    for pid in marked_processes(run_folder):
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass


def end_abandoned_tries(runs):
    """A try killed outright left its Wine processes and displays running; they carry its
    mark, and end before the rig removes its run folder. Its Wine servers' socket folders
    go with them."""
    for folder in runs.glob("try-cd.*"):
        try:
            owner = int((folder / "owner").read_text())
            os.kill(owner, 0)
            continue  # still trying
        except ProcessLookupError:
            pass
        except (OSError, ValueError):
            continue  # being set up, or not a try's folder
        kill_marked(folder)
        for prefix in folder.glob("*/prefix"):
            server_folder = rig_function("rig_wine_server_folder", prefix)
            if server_folder:
                shutil.rmtree(server_folder, ignore_errors=True)


def rig_function(name, *args, arch="x86_64"):
    """Runs a function of rig.sh for a machine of ARCH; its standard output."""
    done = subprocess.run(["bash", "-c", f'. "$0"; {name} "$@"', str(RIG_SH), *map(str, args)],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                          env=dict(os.environ, RIG_ARCH=arch))
    if done.returncode != 0:
        raise RigError(f"{name}: {done.stderr.strip() or 'failed'}")
    return done.stdout.strip()


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


def wine_environment():
    """The environment every Wine of the rig runs with: {name: value}."""
    lines = rig_function("rig_wine_environment").splitlines()
    return dict(line.split("=", 1) for line in lines)


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
        self.xvfb = None
        self.env = None
        self.server_folder = ""  # Wine's socket folder, which it leaves behind

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    def start(self, pristine, disc_folder):
        self.folder.mkdir()
        rig_function("rig_clone_prefix", pristine, self.prefix)
        self.server_folder = rig_function("rig_wine_server_folder", self.prefix, arch=self.arch)
        self.shared = [self.session.folder, disc_folder]
        self.env = dict(os.environ, WINEPREFIX=str(self.prefix), **wine_environment(),
                        **{RUN_MARK: str(self.session.folder)})
        # Wine takes the ANSI code page from the locale: the run's language is its own.
        if self.windows.language:
            self.env["LC_ALL"] = self.windows.language.locale
        if self.session.visible:
            self.env["DISPLAY"] = os.environ["DISPLAY"]
        else:
            self.env["DISPLAY"] = self._start_xvfb()
        drive_d = self.prefix / "dosdevices" / "d:"
        if drive_d.is_symlink() or drive_d.exists():
            drive_d.unlink()
        drive_d.symlink_to(disc_folder)
        # Written into the user's registry file before Wine first reads it: no program
        # has to run for them. The rig's pristine prefix lets Wine manage its windows (no
        # window manager on Xvfb); a person's desktop has one.
        settings = {}
        if self.windows.version != "default":
            settings[r"Software\\Wine"] = {"Version": self.windows.version}
        if self.session.visible:
            settings[r"Software\\Wine\\X11 Driver"] = {"Managed": "Y"}
        with open(self.prefix / "user.reg", "a", encoding="utf-8") as user_reg:
            for key, values in settings.items():
                user_reg.write(f"\n[{key}] 0\n")
                user_reg.writelines(f'"{name}"="{value}"\n' for name, value in values.items())
        if self.windows.language:
            # Wine's first start in another language rewrites its keyboard, font and
            # international settings: done before the run, they are not the setup's.
            self.wine("language", "cmd", "/c", "exit")
            self.end_programs()

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        log = open(self.folder / "xvfb.log", "wb")
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp"], pass_fds=(write_end,), stdout=log, stderr=log,
            env=dict(os.environ, **{RUN_MARK: str(self.session.folder)}))
        os.close(write_end)
        log.close()
        with os.fdopen(read_end) as reader:
            display = reader.readline().strip()
        if not display:
            raise RigError("Xvfb did not report a display: "
                           + (self.folder / "xvfb.log").read_text(errors="replace"))
        return ":" + display

    def wine(self, name, *args, timeout=180):
        """Runs a Windows program; its exit status and the bytes of its output, which goes
        to NAME.out/.err in the machine's folder (a GUI program can leave explorer.exe
        holding a pipe open)."""
        if self.session.closing:
            raise RigError("the try is ending")
        out, err = self.folder / f"{name}.out", self.folder / f"{name}.err"
        with open(out, "wb") as out_file, open(err, "wb") as err_file:
            code = subprocess.call(["timeout", "--kill-after=5", str(timeout),
                                    *self._in_machine("wine", *args)],
                                   stdout=out_file, stderr=err_file, env=self.env)
        return code, out.read_bytes()

    def share(self, folder):
        """FOLDER of the host is seen by the machine's programs at its own path."""
        self.shared.append(Path(folder))

    def _in_machine(self, *command):
        if not self.emulated:
            return list(command)
        return ["bash", "-c", '. "$0"; rig32_run "$@"', str(RIG_SH), *map(str, self.shared),
                "--", *command]

    @staticmethod
    def windows_path(host_path):
        """The path of a host file as Wine's drive Z: (the host's root) shows it."""
        return "Z:" + str(Path(host_path).resolve()).replace("/", "\\")

    def end_programs(self):
        """Ends every program of the machine; Wine writes its registry files then."""
        for action in ("-k", "-w"):
            subprocess.call(["timeout", "20", *self._in_machine("wineserver", action)],
                            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def stop(self):
        if self.env is not None:
            self.end_programs()
            self.env = None
        if self.server_folder:
            shutil.rmtree(self.server_folder, ignore_errors=True)
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()
            self.xvfb = None


class Session:
    """The run folder of one try, below WORK/runs, and every machine started in it."""

    def __init__(self, work, visible):
        self.work = Path(work)
        self.visible = visible
        self.machines = []
        self.mounts = []
        runs = self.work / "runs"
        runs.mkdir(parents=True, exist_ok=True)
        end_abandoned_tries(runs)
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

    def mount_readonly(self, folder, view):
        """FOLDER read-only at VIEW; False where this user may not mount."""
        view.mkdir()
        if subprocess.call(["mount", "--bind", str(folder), str(view)],
                           stderr=subprocess.DEVNULL) != 0:
            return False
        self.mounts.append(view)
        if subprocess.call(["mount", "-o", "remount,bind,ro", str(view)]) != 0:
            raise RigError(f"{folder} could not be mounted read-only")
        return True

    def stop_machines(self):
        """Ends every machine's Wine and display; none can be started afterwards."""
        self.closing = True
        for machine in list(self.machines):
            machine.stop()
        # A Wine program that was starting when its wineserver was ended can wait for it
        # for ever; whatever of the try still runs ends here.
        kill_marked(self.folder)

    def close(self):
        self.stop_machines()
        for view in reversed(self.mounts):
            if subprocess.call(["umount", str(view)], stderr=subprocess.DEVNULL) != 0:
                subprocess.call(["umount", "-l", str(view)], stderr=subprocess.DEVNULL)
        self.mounts = []
        subprocess.call(["chmod", "-R", "u+w", str(self.folder)], stderr=subprocess.DEVNULL)
        shutil.rmtree(self.folder, ignore_errors=True)
