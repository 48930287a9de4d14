"""Reads an HTML page as a browser would need it: elements closed in order, the text,
and the inline PNG pictures, each whole."""
import base64
import struct
from html.parser import HTMLParser

VOID = {"meta", "img", "br", "hr", "link", "input"}
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
PNG_END = b"\0\0\0\0IEND\xaeB`\x82"  # the empty IEND chunk with its CRC


class ReportPage(HTMLParser):
    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.open, self.mismatched, self.start_tags = [], [], []
        self.pictures, self.parts = [], []
        self.feed(text)
        self.close()
        self.unclosed = self.open
        self.text = "".join(self.parts)

    def handle_starttag(self, tag, attrs):
        self.start_tags.append(tag)
        if tag == "img":
            self.pictures.append(dict(attrs).get("src", ""))
        elif tag not in VOID:
            self.open.append(tag)

    def handle_endtag(self, tag):
        if self.open and self.open[-1] == tag:
            self.open.pop()
        else:
            self.mismatched.append(tag)

    def handle_data(self, data):
        self.parts.append(data)

    def picture_sizes(self):
        return [png_size(data_uri_bytes(src)) for src in self.pictures]


def data_uri_bytes(src):
    prefix = "data:image/png;base64,"
    if not src.startswith(prefix):
        raise AssertionError(f"not an inline PNG: {src[:40]}")
    return base64.b64decode(src[len(prefix):], validate=True)


def png_size(data):
    """Width and height of a whole PNG: its signature and header first, its end chunk
    last; AssertionError otherwise."""
    if not data.startswith(PNG_SIGNATURE) or data[12:16] != b"IHDR":
        raise AssertionError("no PNG signature and header")
    if not data.endswith(PNG_END):
        raise AssertionError("the PNG is cut short")
    return struct.unpack(">II", data[16:24])
