"""A client CD tried on Windows 3.1 (Win32s), NT 3.51, 95 and 10 at once: the matrix
shows the Program Manager group where Windows has no Start menu, the INI records of
Win32s and the shortcuts elsewhere; the HTML report is well-formed, its pictures decode
and the CD's hostile texts stay text."""
import unittest

import trycd_kit as kit
from html_checks import ReportPage

# A licence and an application name with what HTML must escape.
LICENCE = "Licence: <script>alert(\"x\")</script> & \"quoted\" 'single'"
APPLICATION = "Tom & Jerry's Search"


class MatrixTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        work = kit.fresh_work("matrix")
        licence = work / "agree.txt"
        licence.write_bytes(LICENCE.encode() + b"\r\n")
        page = work / "page.htm"
        page.write_text("<p>template</p>\n")
        # The template tree gets an 8.3 name: the old Windows read the CD's ISO 9660 names.
        image = kit.sample_image(
            work, "client", "--set", kit.COMMON, "ApplicationName", APPLICATION,
            "--set", kit.COMMON, "LicenseFile", "agree.txt", "--add", "agree.txt", licence,
            "--set", kit.SERVER, "TemplateDir", "\\template", "--add", "template/page.htm", page,
            "--remove", "templates")
        cls.report = work / "report.html"
        cls.status, cls.output = kit.try_cd(
            image, "--windows", "win31,nt351,win95,win10", "--jobs", "4",
            "--report", cls.report, "--pictures", work / "pictures")
        cls.rows = kit.matrix(cls.output)

    def test_every_windows_installs_and_starts_the_search_program(self):
        self.assertEqual(self.status, 0, self.output)
        self.assertEqual(list(self.rows), ["win31", "nt351", "win95", "win10"])
        for version, row in self.rows.items():
            self.assertRegex(row["program started"], r"(?i)^D:\\_red40\\bin\\search\.exe$", version)

    def test_windows_before_4_get_a_program_manager_group_the_others_shortcuts(self):
        links = {version: row["shortcuts or Program Manager group"]
                 for version, row in self.rows.items()}
        items = f"{APPLICATION}.lnk, Uninstall {APPLICATION}.lnk"
        self.assertEqual(links["nt351"], f"Program Manager group Lumora Sample: {items}")
        self.assertEqual(links["win31"], f"Program Manager group Lumora Sample: {items}")
        self.assertEqual(links["win95"], f"shortcuts {items}")
        self.assertEqual(links["win10"], f"shortcuts {items}")

    def test_win32s_records_the_browser_in_win_ini(self):
        self.assertIn("win.ini: [IS\\SearchApp\\Common] Browser=",
                      self.rows["win31"]["settings written"])
        for version in ("nt351", "win95", "win10"):
            self.assertNotIn("win.ini", self.rows[version]["settings written"], version)

    def test_the_report_is_well_formed_and_every_picture_decodes(self):
        page = ReportPage(self.report.read_text(encoding="utf-8"))
        self.assertEqual(page.unclosed, [], "elements left open")
        self.assertEqual(page.mismatched, [], "elements closed out of order")
        pictures = self.output.count("\n    picture ")
        self.assertGreaterEqual(pictures, 8)  # two windows or more on each Windows
        self.assertEqual(len(page.pictures), pictures)
        for width, height in page.picture_sizes():
            self.assertGreater(width * height, 0)

    def test_the_report_keeps_hostile_texts_as_text(self):
        page = ReportPage(self.report.read_text(encoding="utf-8"))
        self.assertNotIn("script", page.start_tags)
        self.assertIn(LICENCE, page.text)
        self.assertIn(f'"ApplicationName"="{APPLICATION}"', page.text)
        self.assertIn(f"{APPLICATION} : License Agreement", page.text)


if __name__ == "__main__":
    kit.main()
