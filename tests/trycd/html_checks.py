"""Reads an HTML page as a browser would need it: elements closed in order, the text,
and the inline PNG pictures, each checked chunk by chunk and inflated."""
import base64
import binascii
import struct
import zlib
from html.parser import HTMLParser

VOID = {"meta", "img", "br", "hr", "link", "input"}
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


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
    """Width and height of a PNG whose chunks all pass their CRC and whose image data
    inflates to the size its header gives; AssertionError otherwise."""
    if not data.startswith(PNG_SIGNATURE):
        raise AssertionError("no PNG signature")
    offset, header, idat = len(PNG_SIGNATURE), None, b""
    while offset < len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        body = data[offset + 8:offset + 8 + length]
        (crc,) = struct.unpack(">I", data[offset + 8 + length:offset + 12 + length])
        if binascii.crc32(kind + body) != crc:
            raise AssertionError(f"bad CRC in chunk {kind}")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        offset += 12 + length
    width, height, depth, colour = header[:4]
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    row = (width * channels * depth + 7) // 8 + 1  # a filter byte begins each row
    if header[6] == 0 and len(zlib.decompress(idat)) != row * height:
        raise AssertionError("image data of the wrong size")
    return width, height
