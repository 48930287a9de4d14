"""What the try-out tests share: sample CD images, a try-cd run, its matrix."""
import os
import shutil
import subprocess
import sys
import unittest
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent.parent
sys.path.insert(0, str(SOURCE / "tools"))  # the try-out's own modules: import trycd
TRY_CD = SOURCE / "tools" / "try-cd"
MAKE_SAMPLE_CD = SOURCE / "dev" / "make-sample-cd.sh"
COMMON = "IS\\SearchApp\\Common"
SERVER = "Tarnx\\2.0.0\\Primary\\Server"

BUILD = Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else SOURCE / "build" / "mingw64"
WORK = Path(sys.argv[2]).resolve() if len(sys.argv) > 2 else BUILD / "trycd-tests"


def fresh_work(name):
    folder = WORK / name
    if folder.exists():
        subprocess.call(["chmod", "-R", "u+w", str(folder)], stderr=subprocess.DEVNULL)
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    return folder


def sample_image(folder, name, *options):
    """The sample CD with make-sample-cd.sh's OPTIONS, pressed into folder/name.iso (the
    tree stays writable: the image is what is pressed and tried)."""
    image = folder / f"{name}.iso"
    subprocess.run([str(MAKE_SAMPLE_CD), "--writable", *options, "--image", str(image), str(BUILD),
                    str(folder / name)], check=True, stdout=subprocess.DEVNULL)
    return image


def start_try(*arguments, env=None):
    """Starts try-cd headless, its output to a pipe."""
    environment = dict(os.environ if env is None else env, TRY_HEADLESS="1")
    return subprocess.Popen([str(TRY_CD), *map(str, arguments), "--build", str(BUILD)],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors="surrogateescape",  # paths print as the bytes they are
                            env=environment)


def finish_try(process):
    """The exit status and output of a try started by start_try."""
    output, _ = process.communicate()
    return process.returncode, output


def try_cd(*arguments, env=None):
    return finish_try(start_try(*arguments, env=env))


def matrix(output):
    """The matrix rows try-cd printed: {version: {column: text}}."""
    lines = output.split("\n== Matrix\n", 1)[1].split("\n\n", 1)[0].splitlines()
    header = [cell.strip() for cell in lines[0].split(" | ")]
    rows = {}
    for line in lines[1:]:
        cells = [cell.strip() for cell in line.split(" | ")]
        rows[cells[0]] = dict(zip(header, cells))
    return rows


def main():
    unittest.main(argv=sys.argv[:1], verbosity=2)
