"""The CD as a Windows reads it: the folder given, or the image's Joliet or ISO 9660
names, never its Rock Ridge ones.

An image is read with xorriso's own extraction (-read_fs norock: Joliet where the image
has it, else ISO 9660; -read_fs ecma119: ISO 9660 only) into a tree that is then made
read-only, as pressed. Each kind of names is extracted once per try and shared by every
Windows that reads it.
"""
import re
import subprocess
from dataclasses import dataclass
from pathlib import Path

from .rig import RigError

READ_FS = {"joliet": "norock", "iso9660": "ecma119"}


@dataclass
class View:
    folder: Path  # drive D:
    names: str  # "joliet", "iso9660", or "folder" (a CD folder's own names)
    note: str  # how the try sees the disc, for the report


class CannotRead(RuntimeError):
    pass


def image_problem(image):
    """Why IMAGE is no ISO 9660 image to try, or None."""
    try:
        with open(image, "rb") as data:
            data.seek(32769)
            if data.read(5) != b"CD001":
                return f"{image}: not an ISO 9660 image (no volume descriptor at byte 32768)"
    except OSError as error:
        return f"{image}: cannot be read ({error.strerror})"
    return None


class Disc:
    def __init__(self, path, session):
        self.path = Path(path).resolve()
        self.session = session
        self.is_image = self.path.is_file()
        self.label = ""
        self._views = {}
        if self.is_image:
            problem = image_problem(self.path)
            if problem:
                raise CannotRead(problem)

    def view(self, windows):
        """The disc as WINDOWS reads it (one extraction per kind of names, kept, as is
        the reason it could not be read)."""
        kind = windows.reads if self.is_image else "folder"
        if kind not in self._views:
            try:
                self._views[kind] = (self._folder_view() if kind == "folder"
                                     else self._extract(kind))
            except CannotRead as error:
                self._views[kind] = error
        if isinstance(self._views[kind], CannotRead):
            raise self._views[kind]
        return self._views[kind]

    def _folder_view(self):
        view = self.session.folder / "cd-ro"
        self.session.readonly_view(self.path, view)
        return View(view, "folder", f"folder {self.path}, read-only, with its own names "
                                    "(a folder is not pressed: cdcheck tells what pressing keeps)")

    def _extract(self, wanted):
        tree = self.session.folder / f"cd-{wanted}"
        done = subprocess.run(
            ["xorriso", "-abort_on", "FAILURE", "-read_fs", READ_FS[wanted], "-osirrox", "on",
             "-indev", str(self.path), "-toc", "-extract", "/", str(tree)],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
        if done.returncode != 0 or not tree.is_dir():
            last = done.stdout.strip().splitlines()[-3:]
            raise CannotRead(f"xorriso cannot read {self.path}: {' '.join(last)}")
        label = re.search(r"^Volume id\s*:\s*'(.*)'", done.stdout, re.M)
        self.label = label.group(1) if label else ""
        loaded = re.search(r"^ISO loaded\s*:\s*(\S+)", done.stdout, re.M)
        names = "joliet" if loaded and loaded.group(1) == "Joliet" else "iso9660"
        subprocess.run(["chmod", "-R", "a-w", str(tree)], check=True)
        iso_note = "the image's ISO 9660 names (8.3, upper case), read-only as pressed"
        if names == "joliet":
            return View(tree, names, "the image's Joliet names, read-only as pressed")
        # The same tree serves the Windows that read only ISO 9660 names.
        self._views.setdefault("iso9660", View(tree, names, iso_note))
        if wanted == "joliet":
            return View(tree, names, "the image has no Joliet names: this Windows reads its "
                                     "ISO 9660 names (8.3, upper case) there, and the try "
                                     "reads them so")
        return View(tree, names, iso_note)


def find(root, relative):
    """A file below ROOT by a path compared without regard to case, as Windows opens
    it; None when the disc has no such file."""
    here = Path(root)
    for part in relative.replace("\\", "/").split("/"):
        try:
            match = next((entry for entry in here.iterdir() if entry.name.lower() == part.lower()),
                         None)
        except OSError:
            return None
        if match is None:
            return None
        here = match
    return here if here.is_file() else None
