#!/usr/bin/env python3
"""Writes data/Help/Help.pdf, the short user guide shipped beside the program."""
import pathlib

TITLE = "Korvane keyboard configuration"
LINES = [
    "Profiles: the three profile buttons choose the profile shown and active on the keyboard.",
    "Keys: click a key on the picture to give it another key, a macro, or a program to start.",
    "Macros: on the macro page press Record, type, press Record again; edit the list below.",
    "Lighting: the backlight button opens the lighting panel: effect, brightness, speed, colours.",
    "Apply writes the profile to the keyboard. Reset returns the profile to its factory state.",
    "Import and Export read and write profile files, to share or keep them.",
    "The program stays in the notification area while the keyboard is plugged in;",
    "its menu opens the window again or ends the program.",
]


def escape(text):
    return text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def build():
    content = ["BT", "/F1 20 Tf", "56 780 Td", f"({escape(TITLE)}) Tj", "/F1 11 Tf", "0 -36 Td"]
    for line in LINES:
        content += [f"({escape(line)}) Tj", "0 -20 Td"]
    content.append("ET")
    stream = "\n".join(content).encode("latin-1")
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] "
        b"/Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        b"<< /Length " + str(len(stream)).encode() + b" >>\nstream\n" + stream + b"\nendstream",
    ]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += f"{number} 0 obj\n".encode() + body + b"\nendobj\n"
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    for offset in offsets:
        out += f"{offset:010d} 00000 n \n".encode()
    out += f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
    return bytes(out)


if __name__ == "__main__":
    target = pathlib.Path(__file__).resolve().parents[2] / "data" / "Help" / "Help.pdf"
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(build())
