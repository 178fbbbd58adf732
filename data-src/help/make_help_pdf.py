#!/usr/bin/env python3
"""Writes data/Help/Help.pdf, the user manual shipped beside the program.

Its pictures are screenshots of the real program that take-screenshots saves in
build/manual-shots/; `make manual` runs both. Needs python3-reportlab.
"""
import pathlib

from reportlab import rl_config
from reportlab.lib import colors
from reportlab.lib.pagesizes import A4
from reportlab.lib.styles import ParagraphStyle, getSampleStyleSheet
from reportlab.lib.units import mm
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.platypus import (Image, KeepTogether, PageBreak, Paragraph, SimpleDocTemplate, Spacer, Table,
                                TableStyle)

ROOT = pathlib.Path(__file__).resolve().parents[2]
SHOTS = ROOT / "build" / "manual-shots"
TARGET = ROOT / "data" / "Help" / "Help.pdf"
FONT_DIR = pathlib.Path("/usr/share/fonts/truetype/dejavu")

rl_config.invariant = 1  # the same input gives the same bytes: no dates or random ids

pdfmetrics.registerFont(TTFont("Body", FONT_DIR / "DejaVuSans.ttf"))
pdfmetrics.registerFont(TTFont("Bold", FONT_DIR / "DejaVuSans-Bold.ttf"))
styles = getSampleStyleSheet()
BODY = ParagraphStyle("body", parent=styles["BodyText"], fontName="Body", fontSize=10, leading=14, spaceAfter=5)
H1 = ParagraphStyle("h1", parent=BODY, fontName="Bold", fontSize=20, leading=26, spaceAfter=10)
H2 = ParagraphStyle("h2", parent=BODY, fontName="Bold", fontSize=14, leading=19, spaceBefore=10, spaceAfter=6)
CAPTION = ParagraphStyle("caption", parent=BODY, fontSize=8.5, textColor=colors.grey, spaceAfter=10)
WIDTH = A4[0] - 40 * mm


def picture(name, caption, width=WIDTH):
    path = SHOTS / f"{name}.png"
    if not path.exists():
        raise SystemExit(f"make_help_pdf: missing {path} (run make manual)")
    image = Image(str(path))
    scale = min(width / image.imageWidth, 1.0)
    image.drawWidth = image.imageWidth * scale
    image.drawHeight = image.imageHeight * scale
    return KeepTogether([image, Paragraph(caption, CAPTION)])


def paragraphs(*texts):
    return [Paragraph(text, BODY) for text in texts]


def bullets(*items):
    return [Paragraph(item, BODY, bulletText="•") for item in items]


def table(rows):
    data = [[Paragraph(cell, BODY) for cell in row] for row in rows]
    result = Table(data, colWidths=[72 * mm, WIDTH - 72 * mm])
    result.setStyle(TableStyle([("VALIGN", (0, 0), (-1, -1), "TOP"),
                                ("LINEBELOW", (0, 0), (-1, -1), 0.25, colors.lightgrey)]))
    return result


def story():
    s = [Paragraph("Korvane keyboard configuration", H1)]
    s += paragraphs(
        "Korvane configures the Korvane USB keyboard: what each key does, macros of keys and mouse "
        "buttons, the lighting, and three profiles to switch between. It keeps your settings on the "
        "computer and writes the current profile to the keyboard when you click <b>Apply</b>.",
        "The program only helps while it runs: keys that start a program start nothing, and the tray "
        "icon is missing, when Korvane is not running. The installer therefore starts it when you sign "
        "in (see <i>The tray icon and start at sign-in</i>).")
    s += [Paragraph("The main window", H2), picture("main", "The main window after the first start.")]
    s += bullets(
        "<b>Profiles 1 to 3</b> (left): the profile shown and edited. The keyboard changes to it on the "
        "next Apply.",
        "<b>Macro</b>: opens the macro editor. <b>Lighting</b> (bulb): shows the lighting panel in place "
        "of the keyboard. <b>Reset profile</b>: returns the profile to its factory state.",
        "<b>The keyboard</b>: one button per key. A key shown highlighted sends another key, plays a "
        "macro or starts a program.",
        "<b>Apply</b> saves and writes the profile to the keyboard; <b>OK</b> applies and hides the "
        "window; <b>Cancel</b> and <b>×</b> hide it (your changes stay until you apply or quit).",
        "<b>Settings</b> (gear, top right): import and export a profile, the language, and "
        "<i>Start with Windows</i>. <b>F1</b> opens this manual.")
    s += [PageBreak(), Paragraph("Assigning keys", H2)]
    s += paragraphs("Click a key of the picture. The key dialog opens with three pages; <b>OK</b> keeps the "
                    "new function, <b>Cancel</b> leaves the key as it was, the round arrow gives the key "
                    "back its own function. Nothing reaches the keyboard before <b>Apply</b>.")
    s += [picture("key-single", "Another key: click the key cap, then press the key the keyboard should send.", 0.8 * WIDTH)]
    s += [picture("key-launch", "Start a program: choose the program the key starts. Korvane starts it "
                  "when you press the key, while the program runs.", 0.8 * WIDTH)]
    s += [PageBreak(), Paragraph("Recording and editing macros", H2)]
    s += paragraphs(
        "A macro is a recorded series of up to 80 key and mouse-button events with the pauses between "
        "them. Open it from a key's <b>Macro</b> page (to give the key a macro) or from the <b>Macro</b> "
        "button of the main window (to edit the macros alone).",
        "<b>Record</b> starts recording: type the keys, then press <b>Stop</b>. With the box next to the "
        "delays ticked, the pauses are kept as you made them. The list shows each event; select one to "
        "delete it, move it up or down, or change its delay. The repeat count plays the macro that many "
        "times. The name field names the macro; <b>+</b> makes a new macro and the bin deletes one.")
    s += [picture("macro-editor", "The macro editor after recording the keys H and I.", 0.8 * WIDTH)]
    s += [picture("key-macro", "A key's macro page: pick a macro from the list to play it on that key.", 0.8 * WIDTH)]
    s += [PageBreak(), Paragraph("Lighting", H2)]
    s += paragraphs("The bulb button shows the lighting panel where the keyboard was; click it again to go "
                    "back. Choose the effect, the brightness and the speed, a preset colour or your own "
                    "(red, green, blue), and for the effects that allow it a colour per key. <b>Apply</b> "
                    "with the panel shown writes the lighting too.")
    s += [picture("lighting", "The lighting panel.")]
    s += [PageBreak(), Paragraph("Profiles", H2)]
    s += bullets(
        "<b>Apply</b> saves the settings and the current profile and writes it to the keyboard (a progress "
        "window shows the writing). Only the current profile is saved: apply before you switch profile.",
        "<b>Reset profile</b> asks first, then returns the current profile to its factory keys and lighting "
        "and writes it to the keyboard.",
        "<b>Import</b> (settings menu) reads a .profile file into the current profile. Review it before "
        "anything changes: the keyboard picture shows the imported keys, the lighting panel its lighting; "
        "nothing is saved or sent until you click <b>Apply</b> (the first apply after an import also "
        "writes the lighting). To drop the import, choose the profile again without applying and quit, "
        "or import another file.",
        "<b>Export</b> (settings menu) saves the current profile, as last applied, to a .profile file to "
        "keep or to share.")
    s += [picture("reset-warning", "Reset asks before it changes anything.")]
    s += [PageBreak(), Paragraph("The settings menu and the language", H2), picture(
        "settings-menu", "The settings menu. A tick before <i>Start with Windows</i> shows that Korvane starts "
        "when you sign in.", 0.6 * WIDTH)]
    s += paragraphs("The first start shows the default language of the settings file, Spanish. Pick "
                    "English, Chinese or Spanish (Español) in the settings menu: the window changes at once "
                    "and the choice is kept for the next start.")
    s += [Paragraph("The tray icon and start at sign-in", H2)]
    s += paragraphs(
        "While the keyboard is plugged in, Korvane shows an icon in the notification area. Double-click it "
        "to show the window again; right-click it for a menu that shows the window or ends the program. "
        "Hiding the window (×, Cancel, OK) does not end Korvane: it keeps starting the programs of your "
        "program keys.",
        "<b>Start with Windows</b> in the settings menu makes Korvane start when you sign in, without its "
        "window (only the tray icon shows); choose it again to turn it off. The installer turns it on unless "
        "you install with <font name='Body'>STARTATSIGNIN=0</font>. It is the value <i>Korvane</i> under "
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run, which the uninstaller "
        "removes.")
    s += [PageBreak(), Paragraph("Where the files live", H2), table([
        ["%ProgramFiles%\\Korvane\\", "The program: Korvane.exe, KBHook.dll (its keyboard and mouse hook, "
         "used while recording), Languages\\, skins\\, table.xml and Help\\Help.pdf."],
        ["%APPDATA%\\Korvane\\config.xml", "The settings: current profile and language."],
        ["%APPDATA%\\Korvane\\Profiles\\", "Profile 1.profile to Profile 3.profile."],
        ["%APPDATA%\\Korvane\\Macros\\", "One .macro file per macro."],
        ["%APPDATA%\\Korvane\\*.log", "A diagnostic log per day: start, end, and the keyboard found or "
         "removed."],
    ])]
    s += paragraphs("Uninstalling removes the program folder, the Start-menu shortcut and the start at "
                    "sign-in, and keeps %APPDATA%\\Korvane\\, so that a new installation finds your "
                    "profiles and macros again.")
    s += [Paragraph("Troubleshooting", H2)]
    s += [Paragraph("The keyboard is not found", BODY)] + bullets(
        "No tray icon and Apply changes nothing on the keyboard: plug the keyboard in directly (not through "
        "an unpowered hub) and wait a few seconds; Korvane notices it without a restart.",
        "The day's log in %APPDATA%\\Korvane\\ says <i>Device Open Success</i> when the keyboard is found "
        "and <i>Device Removed</i> when it goes.")
    s += [Paragraph("A program key starts nothing", BODY)] + bullets(
        "Korvane must be running: look for its tray icon. Turn on <i>Start with Windows</i> so that it runs "
        "after every sign-in.",
        "The assignment must be on the keyboard: click <b>Apply</b> after assigning.",
        "The program must still exist where it was chosen; choose it again after moving it.")
    return s


def main():
    TARGET.parent.mkdir(parents=True, exist_ok=True)
    doc = SimpleDocTemplate(str(TARGET), pagesize=A4, leftMargin=20 * mm, rightMargin=20 * mm,
                            topMargin=18 * mm, bottomMargin=18 * mm, title="Korvane user manual",
                            author="Korvane", subject="User manual")
    doc.build(story(), onLaterPages=page_number, onFirstPage=page_number)
    print(f"make_help_pdf: {TARGET.relative_to(ROOT)}")


def page_number(canvas, doc):
    canvas.setFont("Body", 8)
    canvas.drawRightString(A4[0] - 20 * mm, 10 * mm, f"Korvane user manual · page {doc.page}")


if __name__ == "__main__":
    main()
