"""The sample CD, whose template tree "\\templates" has nine characters, with a file of a
long name in it: Windows 95 reads the Joliet names and installs it; Windows 3.1 reads
the ISO 9660 names, meets "\\TEMPLATE" and stops with the setup's own message, and so
does Windows 95 on an image without Joliet names. The program files are copied to the
disk, with the trees the settings name, on a Japanese Windows 95 too, which runs in its
locale and code page and which the matrix and both reports name. The exit status is the
worst run's, wherever it comes in the matrix."""
import subprocess
import unittest

import trycd_kit as kit
from trycd import tryout, windows

COPY = ("--icon-only", "no", "--destination", "c:\\lumora")
LONG = "a template whose name runs well past what a Joliet name of a CD holds.htm"


class NamesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = kit.fresh_work("names")
        page = cls.work / "page.htm"
        page.write_text("<p>template</p>\n")
        cls.image = kit.sample_image(cls.work, "names", "--add", f"templates/{LONG}", page)
        # The same tree pressed without Joliet names, tried at the same time.
        plain = cls.work / "plain.iso"
        subprocess.run(["xorriso", "-as", "mkisofs", "-r", "-V", "PLAIN", "-o", str(plain),
                        str(cls.work / "names")], check=True, stderr=subprocess.DEVNULL)
        plain_try = kit.start_try(plain, "--windows", "win95", "--pictures",
                                  cls.work / "plain-pictures", *COPY)
        # The Windows that ends early comes first.
        cls.report = cls.work / "report.html"
        cls.status, cls.output = kit.try_cd(cls.image, "--windows", "win31,win95,win95:ja",
                                            "--jobs", "3", "--pictures", cls.work / "pictures",
                                            "--report", cls.report, *COPY)
        cls.rows = kit.matrix(cls.output)
        cls.plain_status, cls.plain_output = kit.finish_try(plain_try)

    def test_windows_95_installs_it(self):
        self.assertEqual(self.rows["win95"]["how the run ended"],
                         "started C:\\lumora\\_red40\\bin\\search.exe",
                         "the program files were not copied to the destination typed")
        self.assertIn("the image's Joliet names", self.output)

    def test_a_japanese_windows_95_installs_it_in_its_code_page(self):
        self.assertEqual(self.rows["win95:ja"]["how the run ended"],
                         "started C:\\lumora\\_red40\\bin\\search.exe", self.output)
        title = "Windows 95 in Japanese (code page 932) (win95:ja)"
        self.assertIn(f"\n== {title}: the CD\n", self.output)
        page = self.report.read_text(encoding="utf-8")
        self.assertIn(f'<h2 id="win95-ja">{title}</h2>', page)
        # The run's own pictures, beside those of the plain Windows 95.
        self.assertTrue(any((self.work / "pictures" / "win95-ja").glob("*.png")))

    def test_windows_31_stops_where_the_template_tree_is_not_found(self):
        self.assertEqual(self.status, 1, "the exit status is not that of win31, which ended "
                                         f"early, first of the matrix:\n{self.output}")
        self.assertEqual(self.rows["win31"]["how the run ended"], "ended early")
        self.assertIn("Could not copy d:\\templates", self.rows["win31"]["last window"])
        self.assertEqual(self.rows["win31"]["program started"], "none")
        self.assertIn("the image's ISO 9660 names (8.3, upper case)", self.output)

    def test_windows_95_reads_the_iso_9660_names_of_an_image_without_joliet(self):
        self.assertEqual(self.plain_status, 1, self.plain_output)
        self.assertIn("the image has no Joliet names: this Windows reads its ISO 9660 names",
                      self.plain_output)
        self.assertIn("Could not copy d:\\templates",
                      kit.matrix(self.plain_output)["win95"]["last window"])


class ExitStatusTest(unittest.TestCase):
    """The try's exit status (0 the program started, 1 a run ended early, 2 not tried) is
    the worst run's: first, in the middle or last, and among a Windows's two runs."""

    def test_the_worst_run_decides_wherever_it_comes(self):
        def tried(*verdicts, problem=""):
            runs = [tryout.Run(f"run {n}", verdict=v) for n, v in enumerate(verdicts, 1)]
            return tryout.Tried(windows.known()["win95"], runs=runs, problem=problem)

        started, early, not_tried = tried(0), tried(1), tried(problem="no setup.exe")
        for matrix, status in (([early, started, started], 1), ([started, early, started], 1),
                               ([started, started, early], 1), ([tried(1, 0)], 1),
                               ([tried(0, 1)], 1), ([not_tried, early, started], 2),
                               ([started, not_tried, early], 2), ([started, started], 0)):
            verdicts = [[run.verdict for run in t.runs] or t.problem for t in matrix]
            self.assertEqual(tryout.exit_status(matrix), status,
                             f"not the worst run's status, for runs that ended {verdicts}")

    def test_a_report_that_cannot_be_written_stops_the_try_before_it_begins(self):
        work = kit.fresh_work("no-report")
        report = work / "no such folder" / "report.html"
        status, output = kit.try_cd(work, "--report", report)
        self.assertEqual((status, output), (2, f"try-cd: the report {report} cannot be written "
                                               "(no such folder, or no permission): nothing was "
                                               "tried\n"), "the report's path is not refused first")


if __name__ == "__main__":
    kit.main()
