"""A try interrupted mid-run, by any signal it handles, ends its own Wine processes,
display and mounts and removes its run folder and its Wine servers' socket folders; what
it did not start (a display of the caller's) goes on. What a try killed outright left
running, the next try ends."""
import os
import shutil
import signal
import subprocess
import time
import unittest
from pathlib import Path

import trycd_kit as kit
from trycd import rig


def status(pid):
    """PID's parent and start time while it runs (an ended process left unreaped does not)."""
    try:
        fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    except OSError:
        return None
    return None if fields[0] == "Z" else (int(fields[1]), fields[19])


def children_of(pid):
    """{child: its start time} of the processes PID started that run."""
    return {int(entry.name): known[1] for entry in Path("/proc").glob("[0-9]*")
            if (known := status(entry.name)) and known[0] == pid}


def still_running(processes):
    """Those of {pid: start time} that run (the same process, not a later one of its pid)."""
    return [pid for pid, start in processes.items() if (status(pid) or (0, ""))[1] == start]


def wine_server_folders(run_folder):
    """The socket folders of the try's Wine servers, which Wine leaves behind, as the rig
    recorded them for each machine."""
    return [Path(text) for record in run_folder.glob("*/wine-socket-folder")
            if (text := record.read_text().strip())]


def wait_for(condition, what, seconds=120):
    """Waits until condition() gives something true; fails after SECONDS."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"no {what} after {seconds} s")


class InterruptTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = kit.fresh_work("interrupt")
        cls.image = kit.sample_image(cls.work, "sample")

    def run_folder(self, process):
        runs = kit.BUILD / "e2e-rig" / "runs"
        folder = wait_for(lambda: next(runs.glob(f"try-cd.{process.pid}.*"), None), "run folder")
        self.addCleanup(self.remove_leftovers, folder)
        self.addCleanup(lambda: process.poll() is None and (process.kill(), process.wait()))
        return folder

    @staticmethod
    def remove_leftovers(folder):
        """What a failed try left, so that a failure leaves nothing running either."""
        rig.rig_function("rig_remove_run", folder)

    @staticmethod
    def wine_servers(folder, machines=1):
        """The socket folders of the try's Wine servers, once one runs for each machine."""
        def started():
            found = [server for server in wine_server_folders(folder) if server.exists()]
            return found if len(found) >= machines else None
        return wait_for(started, f"Wine server of {machines} machine(s) in {folder}")

    def assert_nothing_left(self, process, run_folder, signum, servers):
        output = process.communicate(timeout=60)[0]  # run_folder's clean-up ends it otherwise
        name = signal.Signals(signum).name
        self.assertEqual(process.returncode, 128 + signum,
                         f"the try did not end as one interrupted by {name}:\n{output}")
        self.assertEqual(rig.machine_processes(run_folder), [],
                         f"processes of the try outlive {name}")
        with open("/proc/mounts") as mounts:
            self.assertFalse(str(run_folder) in mounts.read(), f"a mount outlives {name}")
        self.assertFalse(run_folder.exists(), f"the run folder outlives {name}")
        self.assertEqual([s for s in servers if s.exists()], [],
                         f"Wine's socket folders outlive {name}")

    def test_each_signal_a_try_handles_ends_it_and_leaves_nothing(self):
        # A try killed outright (SIGKILL) cannot end anything: the next try does.
        killed = kit.start_try(self.image, "--windows", "win95", "--pictures",
                               self.work / "killed")
        killed_folder = self.run_folder(killed)
        killed_servers = self.wine_servers(killed_folder)
        self.addCleanup(lambda: [shutil.rmtree(s, ignore_errors=True) for s in killed_servers])
        children = children_of(killed.pid)
        self.addCleanup(lambda: [os.kill(pid, signal.SIGKILL) for pid in still_running(children)])
        killed.kill()
        killed.communicate()
        self.assertNotEqual(rig.machine_processes(killed_folder), [])
        # The terminal closed (SIGHUP); Ctrl-C (SIGINT) on two Windows at once; kill
        # (SIGTERM) on a CD folder, which the try mounts read-only.
        tries = {signal.SIGHUP: ("win95", self.image), signal.SIGINT: ("win95,win31", self.image),
                 signal.SIGTERM: ("win95", self.work / "sample")}
        processes, folders = [], []
        for signum, (versions, cd) in tries.items():
            processes.append(kit.start_try(cd, "--windows", versions, "--jobs", "2",
                                           "--pictures", self.work / signum.name))
            folders.append(self.run_folder(processes[-1]))
            if len(folders) == 1:
                self.assertEqual(rig.machine_processes(killed_folder), [],
                                 "the killed try's processes run on")
                self.assertEqual(still_running(children), [], "programs the killed try started run on")
                self.assertFalse(killed_folder.exists(), "the killed try's run folder is left")
                self.assertEqual([s for s in killed_servers if s.exists()], [],
                                 "the killed try's Wine socket folders are left")
        servers = [self.wine_servers(folder, machines=len(versions.split(",")))
                   for folder, (versions, _) in zip(folders, tries.values())]
        for signum, process in zip(tries, processes):
            process.send_signal(signum)
        for signum, process, folder, server in zip(tries, processes, folders, servers):
            with self.subTest(signal=signum.name):
                self.assert_nothing_left(process, folder, signum, server)

    def test_ctrl_c_while_the_setup_waits_for_the_user(self):
        # On a display of the caller's the windows wait for a person: the try is
        # interrupted while the setup shows its first question.
        display = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24",
                                    "-nolisten", "tcp"], stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True)
        try:
            number = display.stdout.readline().strip()
            env = dict(os.environ, DISPLAY=f":{number}")
            env.pop("TRY_HEADLESS", None)
            process = subprocess.Popen(
                [str(kit.TRY_CD), str(self.image), "--windows", "nt351", "--build", str(kit.BUILD),
                 "--pictures", str(self.work / "shown")], env=env, stdout=subprocess.PIPE,
                stderr=subprocess.STDOUT, text=True)
            folder = self.run_folder(process)
            wait_for(lambda: (folder / "nt351" / "run1" / "01.bmp").exists(), "first window")
            servers = self.wine_servers(folder)
            process.send_signal(signal.SIGINT)
            self.assert_nothing_left(process, folder, signal.SIGINT, servers)
            self.assertIsNone(display.poll(), "the caller's display was ended")
        finally:
            display.terminate()
            display.communicate()


if __name__ == "__main__":
    kit.main()
