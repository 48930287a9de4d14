"""A client CD tried on Windows 3.1 (Win32s), NT 3.51, 95 and 10 at once: the matrix
shows the Program Manager group where Windows has no Start menu, the INI records of
Win32s and the shortcuts elsewhere; the HTML report is well-formed, its pictures decode
and the CD's hostile texts stay text. Every text the report writes, made hostile where
it comes from, shows exactly as it is."""
import os
import unittest

import trycd_kit as kit
from html_checks import ReportPage
from trycd import disc, driver_output, html_report, machine_state, tryout, windows

# A licence and an application name with what HTML must escape, and "é", which the CD's
# settings hold as the ANSI byte 0xE9.
LICENCE = "Licence: <script>alert(\"x\")</script> & \"quoted\" 'single'"
APPLICATION = "Jo & Al's &lt;Maps&gt; Café"
# An image whose name holds a byte that is no UTF-8: the page shows U+FFFD there.
IMAGE = os.fsdecode(b"Tom <Maps> & \"x\" 'y' \xe9")
IMAGE_SHOWN = "Tom <Maps> & \"x\" 'y' \ufffd"


def ansi(text):
    """TEXT as the bytes of Windows' Western code page, for a command's argument."""
    return os.fsdecode(text.encode("cp1252"))


class MatrixTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = work = kit.fresh_work("matrix")
        licence = work / "agree.txt"
        licence.write_bytes(LICENCE.encode() + b"\r\n")
        page = work / "page.htm"
        page.write_text("<p>template</p>\n")
        # The template tree gets an 8.3 name: the old Windows read the CD's ISO 9660 names.
        image = kit.sample_image(
            work, IMAGE, "--set", kit.COMMON, "ApplicationName", ansi(APPLICATION),
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

    def test_program_manager_windows_get_a_group_the_others_shortcuts(self):
        items = f"{APPLICATION}.lnk, Uninstall {APPLICATION}.lnk"
        group, shortcuts = f"Program Manager group Lumora Sample: {items}", f"shortcuts {items}"
        self.assertEqual({version: row["shortcuts or Program Manager group"]
                          for version, row in self.rows.items()},
                         {"win31": group, "nt351": group, "win95": shortcuts, "win10": shortcuts})

    def test_win32s_records_the_browser_in_win_ini(self):
        self.assertIn("win.ini: [IS\\SearchApp\\Common] Browser=",
                      self.rows["win31"]["settings written"])
        for version in ("nt351", "win95", "win10"):
            self.assertNotIn("win.ini", self.rows[version]["settings written"], version)

    def test_the_report_is_well_formed_and_every_picture_decodes(self):
        page = ReportPage(self.report.read_text(encoding="utf-8"))
        self.assertEqual((page.unclosed, page.mismatched), ([], []), "the page does not parse")
        pictures = self.output.count("\n    picture ")
        self.assertGreaterEqual(pictures, 8)  # two windows or more on each Windows
        self.assertEqual(len(page.pictures), pictures)
        for width, height in page.picture_sizes():
            self.assertGreater(width * height, 0)

    def test_the_setup_folder_holds_the_settings_as_edited(self):
        # The setup reads its caption there: make-sample-cd.sh copies the edited search.ini.
        tree = self.work / IMAGE
        self.assertEqual((tree / "_red40" / "bin" / "search.ini").read_bytes(),
                         (tree / "search.ini").read_bytes(), "_red40\\bin\\search.ini is not the CD's")

    def test_the_report_keeps_hostile_texts_as_text(self):
        page = ReportPage(self.report.read_text(encoding="utf-8"))
        self.assertNotIn("script", page.start_tags, "the licence's text became markup")
        for text in (LICENCE, f'"ApplicationName"="{APPLICATION}"',
                     f"{APPLICATION} : License Agreement", f"try-cd: {IMAGE_SHOWN}.iso"):
            self.assertTrue(text in page.text, f"not shown as it is: {text!r}")


# What HTML must escape, a text that reads as markup once unescaped, and "é" (the byte
# 0xE9 in the ANSI texts of Windows).
HOSTILE = "Tom <Maps> & \"Co\" 'x' &lt;b&gt; é"
# Wine's registry files write a UTF-16 unit outside ASCII as \x and hex digits: a
# character past U+FFFF is two of them.
REG_TEXT, REG_WINE = f"{HOSTILE} 🌍", HOSTILE.replace("é", "\\xe9") + " \\xd83c\\xdf0d"


class ReportOfAMadeUpTryTest(unittest.TestCase):
    """A Windows tried in two runs and one not tried, made of what the driver, the prefix
    and the disc give, each of their texts hostile."""

    @classmethod
    def setUpClass(cls):
        cls.work = work = kit.fresh_work("texts")
        prefix, drive_c = work / "prefix", work / "prefix" / "drive_c"
        (drive_c / "windows").mkdir(parents=True)
        # What the prefix had before the run: a settings file, a registry value, a file.
        (drive_c / "windows" / "win.ini").write_bytes(b"[old]\r\nkept=before\r\n")
        registry = 'WINE REGISTRY Version 2\n\n[Software\\\\Wine] 1\n"Version"="win95"\n'
        (prefix / "user.reg").write_text(registry)
        before = machine_state.read_registry(prefix)
        ini_before = machine_state.read_ini_files(drive_c)
        stamp = work / "run.stamp"
        stamp.touch()
        # What the run left: a folder with a settings file and a shortcut, a registry key,
        # a record added to win.ini; and a file of the pristine prefix linked in.
        (drive_c / HOSTILE).mkdir()
        (drive_c / HOSTILE / "search.ini").write_bytes(
            f"[{HOSTILE}]\r\n{HOSTILE}={HOSTILE}\r\n".encode("cp1252"))
        (drive_c / HOSTILE / f"{HOSTILE}.lnk").write_bytes(b"")
        with open(drive_c / "windows" / "win.ini", "ab") as win_ini:
            win_ini.write(b"[new]\r\nadded=now\r\n")
        (work / "pristine.dll").write_bytes(b"")
        os.link(work / "pristine.dll", drive_c / "windows" / "pristine.dll")
        value = REG_WINE.replace('"', '\\"')
        (prefix / "user.reg").write_text(f'{registry}\n[Software\\\\{REG_WINE}] 1\n"{value}"="{value}"\n')
        left = machine_state.read_left(drive_c, stamp, before, machine_state.read_registry(prefix),
                                       ini_before, windows.known()["win95"])
        cls.program = program = f"C:\\{HOSTILE}\\search.exe"
        account = [f"process started: 204 {program} (by 32)",
                   f'window "{HOSTILE}" class #32770 process 204', f'  message: "{HOSTILE}"',
                   f'  control 1012 Edit "{HOSTILE}"', f"  typed into control 1012: {HOSTILE}",
                   "  pressed button 1", "it ended with exit code 0"]
        runs = []
        for ending in ([f"program 312 {program}: running"], [f"program {HOSTILE}: not started"]):
            run = tryout.Run(HOSTILE, driver_output.parse(
                "\r\n".join(account + ending).encode("cp1252")), left=left)
            tryout.judge(run)
            runs.append(run)
        image = work / f"{IMAGE}.iso"
        image.write_bytes(bytes(32769) + b"CD001")
        cd = disc.Disc(image, None)
        cd.label = HOSTILE
        view = disc.View(work, "joliet", f"read as {HOSTILE}")
        tried = [tryout.Tried(windows.known()["win95"], view, program, runs),
                 tryout.Tried(windows.known()["win31"], problem=f"{image}: {HOSTILE}")]
        html_report.write(work / "report.html", cd, tried)
        cls.page = ReportPage((work / "report.html").read_text(encoding="utf-8"))

    def test_the_page_shows_each_text_as_it_is(self):
        page = self.page
        self.assertEqual((page.unclosed, page.mismatched), ([], []), "the page does not parse")
        image_shown = f"{self.work}/{IMAGE_SHOWN}.iso"
        reg_value = REG_TEXT.replace('"', '\\"')  # as a .reg export writes it
        program = self.program
        for where, text in (
                ("disc", f"try-cd: {IMAGE_SHOWN}.iso"), ("disc", f"{image_shown} (volume {HOSTILE})"),
                ("disc view", f"the disc: read as {HOSTILE}"), ("setup", f"setup {program}"),
                ("run title", f"{HOSTILE}\nstarted {program}"),
                ("window title", f"{HOSTILE} #32770"), ("message", f"message: “{HOSTILE}”"),
                ("control text", f'control 1012 Edit "{HOSTILE}"'),
                ("answer", f"answered: typed into control 1012: {HOSTILE}"),
                ("ending", f'ended early, at "{HOSTILE}": {HOSTILE}'),
                ("last window", f'ended early"{HOSTILE}": {HOSTILE}none'),
                ("process", f"{program} (process 204)"),
                ("file", f"2  C:\\{HOSTILE}"),
                ("settings", f"C:\\{HOSTILE}\\search.ini:\n[{HOSTILE}]\n{HOSTILE}={HOSTILE}"),
                ("settings cell", f"search.ini: [{HOSTILE}] {HOSTILE}={HOSTILE}; win.ini: [new] "
                                  "added=now; registry: 1 values"),
                ("shortcut", f"shortcuts {HOSTILE}.lnk"),
                ("registry", f'[HKEY_CURRENT_USER\\Software\\{REG_TEXT}]\n  "{reg_value}"="{reg_value}"'),
                ("not tried", f"cannot try: {image_shown}: {HOSTILE}")):
            self.assertTrue(text in page.text, f"the {where} text is not shown as it is: {text!r}")

    def test_what_the_prefix_had_before_the_run_is_not_shown(self):
        self.assertTrue("    1  C:\\windows" in self.page.text,
                        "C:\\windows does not hold only the settings file the run wrote")
        self.assertFalse('"Version"="win95"' in self.page.text, "a value unchanged is shown")


if __name__ == "__main__":
    kit.main()
