"""A try interrupted mid-run ends its own Wine processes, display and mounts and
removes its run folder; what it did not start (a display of the caller's) goes on. What
a try killed outright left running, the next try ends."""
import os
import signal
import subprocess
import time
import unittest
from pathlib import Path

import trycd_kit as kit

MARK = b"LUMORA_TRY_RUN="


def processes_of(run_folder):
    """Processes that carry the try's mark: its Wine processes and its Xvfb."""
    mark = MARK + str(run_folder).encode() + b"\0"
    found = []
    for entry in Path("/proc").iterdir():
        try:
            if entry.name.isdigit() and mark in (entry / "environ").read_bytes():
                found.append(int(entry.name))
        except OSError:
            pass  # ended meanwhile, or not ours to read
    return found


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
        return wait_for(lambda: next(runs.glob(f"try-cd.{process.pid}.*"), None), "run folder")

    def assert_nothing_left(self, process, run_folder, status):
        try:
            process.wait(60)
        except subprocess.TimeoutExpired:
            process.kill()
            raise
        output = process.stdout.read()
        process.stdout.close()
        self.assertEqual(process.returncode, status, output)
        self.assertEqual(processes_of(run_folder), [])
        with open("/proc/mounts") as mounts:
            self.assertNotIn(str(run_folder), mounts.read())
        self.assertFalse(run_folder.exists())

    def test_a_terminated_try_ends_its_wine_and_its_display(self):
        # A try killed outright (SIGKILL) cannot end anything: the next try does.
        killed = kit.start_try(self.image, "--windows", "win95", "--pictures",
                               self.work / "killed")
        killed_folder = self.run_folder(killed)
        wait_for(lambda: len(processes_of(killed_folder)) >= 2, "Wine processes of a try")
        killed.kill()
        killed.wait()
        killed.stdout.close()
        self.assertNotEqual(processes_of(killed_folder), [])

        process = kit.start_try(self.image, "--windows", "win95,win31", "--jobs", "2",
                                "--pictures", self.work / "pictures")
        folder = self.run_folder(process)
        self.assertEqual(processes_of(killed_folder), [])
        self.assertFalse(killed_folder.exists())
        # Both Windows started: their Xvfb and Wine processes run.
        wait_for(lambda: len(processes_of(folder)) >= 4, "Wine processes of both machines")
        process.send_signal(signal.SIGTERM)
        self.assert_nothing_left(process, folder, 128 + signal.SIGTERM)

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
            process.send_signal(signal.SIGINT)
            self.assert_nothing_left(process, folder, 128 + signal.SIGINT)
            self.assertIsNone(display.poll(), "the caller's display was ended")
        finally:
            display.terminate()
            display.wait()
            display.stdout.close()


if __name__ == "__main__":
    kit.main()
