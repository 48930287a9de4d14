"""The try as one self-contained HTML page: for each Windows and run the windows in
order, with their pictures (inline, as data: URIs), texts and answers; then what the
runs left, side by side. Every text from the CD or the machine is escaped."""
import base64
import html
import os
import time
from pathlib import Path

from .text_report import MATRIX_HEADER, links_cell, matrix_rows, settings_cell

STYLE = """
body { font: 14px sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.5em; } h2 { margin-top: 2em; border-bottom: 1px solid #999; }
table { border-collapse: collapse; margin: 0.5em 0; }
th, td { border: 1px solid #bbb; padding: 0.3em 0.5em; vertical-align: top; text-align: left; }
th { background: #eee; }
.window { display: inline-block; vertical-align: top; margin: 0.5em 1em 0.5em 0;
          max-width: 520px; }
.window img { border: 1px solid #888; display: block; max-width: 100%; }
.ok { color: #060; } .early { color: #a00; }
pre { margin: 0; font-size: 12px; white-space: pre-wrap; }
"""


def writable(path):
    """Whether PATH can be written (made and removed again when it did not exist)."""
    path = Path(path)
    existed = path.exists()
    try:
        with open(path, "a"):
            pass
    except OSError:
        return False
    if not existed:
        path.unlink()
    return True


def e(text):
    # A host path may hold bytes that are no UTF-8, which Python keeps as lone surrogates:
    # the page shows each as U+FFFD, as a browser shows such a byte.
    text = str(text).encode("utf-8", "surrogateescape").decode("utf-8", "replace")
    return html.escape(text, quote=True)


def picture(path):
    data = base64.b64encode(Path(path).read_bytes()).decode("ascii")
    return f'<img alt="picture of the window" src="data:image/png;base64,{data}">'


def window_html(window, pictures):
    parts = [f'<div class="window"><b>{e(window.title) or "(no title)"}</b>'
             f' <small>{e(window.class_name)}</small>']
    if window.picture in pictures:
        parts.append(picture(pictures[window.picture]))
    if window.message:
        parts.append(f"<p>message: “{e(window.message)}”</p>")
    # What the user saw: the controls a window hides are left out.
    shown = [control for control in window.controls if not control.endswith(" hidden")]
    if shown:
        parts.append(f"<pre>{e(chr(10).join(shown))}</pre>")
    for answer in window.answers:
        parts.append(f"<p>answered: {e(answer)}</p>")
    parts.append("</div>")
    return "\n".join(parts)


def run_html(run):
    css = "ok" if run.verdict == 0 else "early"
    parts = [f"<h3>{e(run.title)}</h3>", f'<p class="{css}">{e(run.ending)}</p>']
    parts += [f"<p>{e(line)}</p>" for line in run.detail]
    parts += [window_html(w, run.pictures) for w in run.driver.windows if not w.hidden]
    if not run.driver.windows:
        parts.append("<p>it showed no window</p>")
    return "\n".join(parts)


def cell(lines):
    return "<td><pre>" + e("\n".join(lines)) + "</pre></td>"


def left_table(tried_list):
    """What each run left, one column a Windows (and run)."""
    columns = [(t, n, r) for t in tried_list for n, r in enumerate(t.runs, 1)]
    if not columns:
        return ""
    head = "".join(f"<th>{e(t.windows.title)} ({e(t.windows.name)})"
                   f"{e(f' run {n}') if len(t.runs) > 1 else ''}</th>" for t, n, r in columns)
    rows = [
        ("how the run ended", lambda t, r: [r.ending]),
        ("program started", lambda t, r: [r.driver.program or "none"] + r.driver.started),
        ("shortcuts or Program Manager group", lambda t, r: [links_cell(t.windows, r.left)] +
         [f"{path}\n  " + "\n  ".join(fields) for path, fields in r.left.shortcuts.items()]),
        ("settings written", lambda t, r: [settings_cell(r.left)] +
         [f"{path}:\n{text}" for path, text in r.left.settings.items()]),
        ("files on drive C:", lambda t, r: [f"{count:5d}  {folder}" for folder, count in
                                            sorted(r.left.files.items())] or ["none"]),
        ("registry values written", lambda t, r: [line for key, lines in r.left.registry.items()
                                                  for line in [key] + ["  " + v for v in lines]]
         or ["none"]),
    ]
    body = "".join(f"<tr><th>{e(name)}</th>" + "".join(cell(get(t, r)) for t, n, r in columns)
                   + "</tr>\n" for name, get in rows)
    return f"<table><tr><th></th>{head}</tr>\n{body}</table>"


def write(path, disc, tried_list):
    parts = ["<!DOCTYPE html>", '<html lang="en"><head><meta charset="utf-8">',
             f"<title>try-cd: {e(disc.path.name)}</title><style>{STYLE}</style></head><body>",
             f"<h1>try-cd: {e(disc.path.name)}</h1>",
             f"<p>{e('image' if disc.is_image else 'folder')} {e(disc.path)}"
             f"{' (volume ' + e(disc.label) + ')' if disc.label else ''}, tried "
             f"{e(time.strftime('%Y-%m-%d %H:%M'))}</p>",
             "<table><tr>" + "".join(f"<th>{e(h)}</th>" for h in MATRIX_HEADER) + "</tr>"]
    parts += ["<tr>" + "".join(f"<td>{e(c)}</td>" for c in row) + "</tr>"
              for row in matrix_rows(tried_list)]
    parts.append("</table>")
    for tried in tried_list:
        parts.append(f'<h2 id="{e(tried.windows.folder)}">{e(tried.windows.title)} '
                     f"({e(tried.windows.name)})</h2>")
        if tried.view:
            parts.append(f"<p>the disc: {e(tried.view.note)}</p>")
        if tried.problem:
            parts.append(f'<p class="early">cannot try: {e(tried.problem)}</p>')
            continue
        parts.append(f"<p>setup {e(tried.setup_path)}: {e(tried.build)}</p>")
        parts += [run_html(run) for run in tried.runs]
    parts += ["<h2>What the runs left</h2>", left_table(tried_list), "</body></html>"]
    text = "\n".join(parts) + "\n"
    temporary = Path(f"{path}.{os.getpid()}.tmp")
    temporary.write_text(text, encoding="utf-8")
    temporary.replace(path)
