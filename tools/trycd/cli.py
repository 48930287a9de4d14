"""try-cd: tries a CD before it is pressed. Runs its setup from drive D: (of type CD-ROM)
in a fresh Wine prefix for each Windows chosen, with the disc's names as that Windows
reads them, answers every window as a user who accepts what is offered (or as the
options say), saves a picture of each window and reports what each run did and left.

Without DISPLAY (or with TRY_HEADLESS=1) the windows appear on private Xvfb displays and
the driver answers; with DISPLAY set they appear there and the person at the screen
answers. The setup runs as pressed: an x86_64 setup.exe in Wine, an i686 one in this
machine's 32-bit Wine where it has one, else (as root) on the rig's 32-bit machine, an
i386 root under CPU emulation; the GUI driver runs beside it, of the same build. The
driver is TRY_CD_GUIDRIVER (TRY_CD_GUIDRIVER_I686), else guidriver.exe
(guidriver-i686.exe) beside this program, else the build's.

Exit status: the worst of the runs: 0 every run ended with the installed program
started; 1 a run ended early (the report says where and with which message); 2 the CD
could not be tried; 64 usage error.
"""
import argparse
import os
import sys
import time
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

from . import disc as disc_module
from . import html_report, program_names, rig, system_needs, text_report
from . import windows as windows_module
from .tryout import Answers, exit_status, try_windows

ROOT = Path(__file__).resolve().parent.parent.parent
USAGE_ERROR, CANNOT_TRY = 64, 2
# Check boxes of the destination dialogs, by their names in resources/resource.h, which
# the driver knows.
PLATFORM_BOXES = {"solaris": "IDC_SOLARIS", "sunos": "IDC_SUNOS", "aix": "IDC_AIX",
                  "hpux": "IDC_HPUX", "mac": "IDC_MACINTOSH", "irix": "IDC_IRIX",
                  "alphaosf": "IDC_ALPHAOSF"}
ICON_ONLY_BOX, DESTINATION_FIELD, BROWSER_PATH_FIELD = (
    "IDC_SETUP_ICON_ONLY", "IDC_DEST_PATH", "IDC_BROWSER_PATH")


class Parser(argparse.ArgumentParser):
    def error(self, message):
        self.print_usage(sys.stderr)
        print(f"try-cd: {message}", file=sys.stderr)
        sys.exit(USAGE_ERROR)


def yes_no(text):
    if text not in ("yes", "no"):
        raise argparse.ArgumentTypeError("takes yes or no")
    return text == "yes"


def typed(text):
    # The driver's replies are separated by ";".
    if ";" in text:
        raise argparse.ArgumentTypeError("a path with ';' cannot be typed")
    return text


def browser_row(text):
    if not text.isdigit() or not 1 <= int(text) <= 11:
        raise argparse.ArgumentTypeError("takes 1 to 11")
    return int(text)


def versions(text):
    try:
        return windows_module.parse_list(text)
    except windows_module.UnknownVersion as error:
        raise argparse.ArgumentTypeError(str(error))


def parser():
    p = Parser(prog="try-cd", description=__doc__.split("\n\n")[0],
               formatter_class=argparse.RawDescriptionHelpFormatter,
               epilog="\n\n".join(__doc__.split("\n\n")[1:]))
    p.add_argument("cd", metavar="CD_FOLDER_OR_IMAGE",
                   help="the CD's folder, or its ISO 9660 image")
    p.add_argument("--windows", type=versions, metavar="LIST",
                   default=versions(windows_module.DEFAULT),
                   help="try on these Windows, comma-separated Wine version names "
                        f"({', '.join(windows_module.known())}); default: Wine's own. "
                        "VERSION:LANGUAGE tries that version sold in a language, whose "
                        "code page its programs get: "
                        + ", ".join(f"{l.code} {l.name} ({l.code_page})"
                                    for l in windows_module.LANGUAGES.values())
                        + "; e.g. win95:ja")
    p.add_argument("--destination", type=typed, metavar="PATH",
                   help="type PATH into the destination field")
    p.add_argument("--icon-only", type=yes_no, metavar="yes|no",
                   help='tick or clear "Setup Icon Only" (client CDs)')
    p.add_argument("--platforms", default="", metavar="LIST",
                   help="tick these platforms in the publisher's dialog, comma-separated: "
                        + " ".join(PLATFORM_BOXES))
    p.add_argument("--browser", type=browser_row, metavar="ROW",
                   help="choose row ROW (1 to 11) of the browser dialog")
    p.add_argument("--browser-path", type=typed, metavar="PATH",
                   help="choose the last row of the browser dialog, with PATH typed")
    p.add_argument("--agreement", type=yes_no, default=True, metavar="yes|no",
                   help="the answer to the licence agreement (default yes)")
    p.add_argument("--second-run", type=yes_no, metavar="yes|no",
                   help="run the setup once more; it finds the installation and asks "
                        "whether to reinstall: the answer")
    p.add_argument("--report", type=Path, metavar="FILE.html",
                   help="also write the whole try as one HTML page")
    p.add_argument("--pictures", type=Path, default=Path("try-cd-pictures"), metavar="DIR",
                   help="where the PNG pictures go (default ./try-cd-pictures)")
    p.add_argument("--build", type=Path, default=default_build(), metavar="DIR",
                   help="the build folder: its GUI driver, and e2e-rig for the Wine prefixes "
                        "(default build/mingw64 of the source tree; installed: "
                        "~/.cache/lumora-try-cd)")
    p.add_argument("--timeout", type=int, default=300, metavar="SECONDS",
                   help="how long one run of the setup may take (default 300)")
    p.add_argument("--jobs", type=int, default=1, metavar="N",
                   help="try N Windows at once (default 1)")
    return p


def default_build():
    """The source tree's Windows build; for an installed try-cd, which has no build
    folder, a folder in the user's cache for the Wine prefixes."""
    build = ROOT / "build" / "mingw64"
    if build.is_dir():
        return build
    cache = Path(os.environ.get("XDG_CACHE_HOME") or Path.home() / ".cache")
    return cache / "lumora-try-cd"


def answers_from(options):
    destination = []
    # The box first: clearing "Setup Icon Only" enables the destination field.
    if options.icon_only is not None:
        destination.append(f"check {ICON_ONLY_BOX} {int(options.icon_only)}")
    if options.destination:
        destination.append(f"set {DESTINATION_FIELD} {options.destination}")
    for name in filter(None, options.platforms.lower().split(",")):
        destination.append(f"check {PLATFORM_BOXES[name]} 1")
    browser = []
    if options.browser:
        browser.append(f"row {options.browser}")
    if options.browser_path:
        browser += ["row last", f"set {BROWSER_PATH_FIELD} {options.browser_path}"]
    return Answers(destination, options.agreement, browser, options.second_run)


def cannot_try(message):
    print(f"try-cd: {message}", file=sys.stderr)
    return CANNOT_TRY


def find_guidrivers(build):
    """The GUI driver of each build, {arch: path}: it runs beside the setup, in the same
    machine. Named by TRY_CD_GUIDRIVER(_I686), else beside this program, else built."""
    here = Path(sys.argv[0]).resolve().parent
    candidates = {
        "x86_64": (os.environ.get("TRY_CD_GUIDRIVER"), here / "guidriver.exe",
                   build / "tools" / "guidriver" / "guidriver.exe"),
        "i686": (os.environ.get("TRY_CD_GUIDRIVER_I686"), here / "guidriver-i686.exe",
                 build.parent / "mingw32" / "tools" / "guidriver" / "guidriver.exe"),
    }
    found = {}
    for arch, paths in candidates.items():
        path = next((Path(p) for p in paths if p and Path(p).is_file()), None)
        if path:
            found[arch] = path.resolve()
    return found


def main(argv=None):
    p = parser()
    options = p.parse_args(argv)
    unknown = [n for n in options.platforms.lower().split(",") if n and n not in PLATFORM_BOXES]
    if unknown:
        p.error(f"unknown platform {unknown[0]}")
    if options.timeout <= 0 or options.jobs <= 0:
        p.error("--timeout and --jobs take a positive number")
    if not Path(options.cd).exists():
        return cannot_try(f"{options.cd}: no such file or folder")
    if options.report and not html_report.writable(options.report):
        return cannot_try(f"the report {options.report} cannot be written "
                          "(no such folder, or no permission): nothing was tried")
    try:
        options.build.mkdir(parents=True, exist_ok=True)
    except OSError as error:
        return cannot_try(f"{options.build}: {error.strerror}")
    build = options.build.resolve()
    guidrivers = find_guidrivers(build)
    if not guidrivers:
        return cannot_try("the GUI driver is not built (cmake --build --preset mingw64 "
                          "--target guidriver), nor named by TRY_CD_GUIDRIVER")
    setup_on_disc = program_names.setup_on_disc(Path(sys.argv[0]).resolve().parent, build)
    if setup_on_disc is None:
        return cannot_try(f"the program's names ({program_names.TABLE}) are not in {build}: "
                          "configure it (cmake --preset mingw64)")
    # The 32-bit machine's packages are asked for when a setup needs it; the locales
    # package and a language's locale when a Windows is tried in it (the 32-bit
    # machine's root brings its own).
    locales = {w.language.locale for w in options.windows if w.language}
    missing = system_needs.first_missing(
        n for n in system_needs.of_set("tools") if "machine32" not in n.sets
        and (n.locale in locales if n.locale else n.package != "locales" or locales))
    if missing:
        return cannot_try(missing)
    visible = bool(os.environ.get("DISPLAY")) and not os.environ.get("TRY_HEADLESS")
    answers = answers_from(options)
    pictures = options.pictures.resolve()
    began = time.monotonic()

    rig.raise_on_signals()
    session = pool = None
    try:
        session = rig.Session(build / "e2e-rig", visible)
        disc = disc_module.Disc(options.cd, session)

        def one(windows):
            return try_windows(session, disc, windows, answers, options.timeout, guidrivers,
                               pictures, setup_on_disc)

        # Each Windows has its own prefix and display; the disc views are made first, so
        # that parallel tries share them, Joliet first: on an image without Joliet names
        # its tree serves the ISO 9660 readers too.
        for windows in sorted(options.windows, key=lambda w: not w.reads_joliet):
            try:
                disc.view(windows)
            except disc_module.CannotRead:
                pass
        text_report.say("CD")
        label = f' (volume "{disc.label}")' if disc.label else ""
        print(f"  {'image' if disc.is_image else 'folder'} {disc.path}{label}, read-only as "
              "drive D: (CD-ROM), with the names each Windows reads", flush=True)
        if visible:
            print(f"  answer the setup's questions on your display ({os.environ['DISPLAY']})")
        pool = ThreadPoolExecutor(max_workers=1 if visible else options.jobs)
        tried_list = []
        for tried in pool.map(one, options.windows):  # in order, each as it is done
            text_report.print_tried(tried)
            tried_list.append(tried)
        status = exit_status(tried_list)
        text_report.print_matrix(tried_list, status, time.monotonic() - began)
        print(f"  pictures: {pictures}")
        if options.report:
            html_report.write(options.report, disc, tried_list)
            print(f"  report: {options.report.resolve()}")
        return status
    except disc_module.CannotRead as error:
        return cannot_try(str(error))
    except rig.RigError as error:
        return cannot_try(f"the Wine rig did not start: {error}")
    except rig.Interrupted as interruption:
        print(f"\ntry-cd: interrupted ({interruption}): ending its Wine processes and displays",
              file=sys.stderr)
        return 128 + interruption.signum
    finally:
        rig.ignore_signals()
        if session is not None:
            # The machines end first: that ends the runs the pool still waits for.
            session.stop_machines()
        if pool is not None:
            pool.shutdown(wait=True, cancel_futures=True)
        if session is not None:
            session.close()
