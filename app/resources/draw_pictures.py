#!/usr/bin/env python3
"""Draws the program's own pictures with ImageMagick: the connector guide
(640 x 360), the dialogs' icons (32, 16 and 64 pixels), the main window's
header (524 x 65, JPEG) and serial-port picture (49 x 50), and the update
wizard's billboard (116 x 201).

    draw_pictures.py OUT_DIR
"""
import os
import subprocess
import sys

FONT = "DejaVu-Sans"
BOLD = "DejaVu-Sans-Bold"

# The programmer's 10-pin connector, seen from the cable side: odd pins in
# the lower row, pin 1 marked.
PINS = {
    1: "MOSI", 2: "VCC",
    3: "NC", 4: "GND",
    5: "RST", 6: "GND",
    7: "SCK", 8: "GND",
    9: "MISO", 10: "GND",
}
PIN_COLOURS = {"VCC": "#d02020", "GND": "#303030", "NC": "#909090"}


def run(args):
    # The last argument is the output; no dates in it, so builds repeat.
    subprocess.run(["convert"] + args[:-1] + ["-strip", "-depth", "8", "-define", "png:exclude-chunks=date,time",
                                              args[-1]], check=True)


def pinout(path):
    draw = []
    # Header body and key notch.
    draw += ["-fill", "#2b2b2b", "-stroke", "#000000", "-draw", "roundrectangle 170,120 470,240 8,8"]
    draw += ["-fill", "#f0f0f0", "-stroke", "none", "-draw", "rectangle 290,232 350,241"]
    for pin, name in PINS.items():
        col = (pin - 1) // 2
        lower = pin % 2 == 1
        x = 205 + col * 58
        y = 205 if lower else 155
        colour = PIN_COLOURS.get(name, "#1f6fd0")
        draw += ["-fill", "#e8c860", "-stroke", "#806010",
                 "-draw", f"rectangle {x - 11},{y - 11} {x + 11},{y + 11}"]
        ty = y + 70 if lower else y - 60
        draw += ["-stroke", "#7a7a7a", "-draw", f"line {x},{y + (12 if lower else -12)} {x},{ty + (-22 if lower else 8)}"]
        draw += ["-stroke", "none", "-fill", colour, "-font", BOLD, "-pointsize", "15",
                 "-gravity", "NorthWest", "-annotate", f"+{x - 4 * len(name) - 2}+{ty - 14}", name]
        draw += ["-fill", "#403000", "-font", FONT, "-pointsize", "11",
                 "-annotate", f"+{x - (7 if pin >= 10 else 3)}+{y - 7}", str(pin)]
    # Pin 1 marker.
    draw += ["-fill", "#ff3030", "-stroke", "none", "-draw", "polygon 180,232 192,232 180,220"]
    run(["-size", "640x360", "xc:#fbfbf7",
         "-fill", "#1f3f7f", "-draw", "rectangle 0,0 640,44",
         "-fill", "#ffffff", "-font", BOLD, "-pointsize", "20", "-annotate", "+20+30",
         "RIRAV connector (10-pin), cable side",
         "-fill", "#505050", "-font", FONT, "-pointsize", "13", "-annotate", "+20+336",
         "Pin 1 is marked red. VCC feeds the target only when the jumper is set.",
         ] + draw + [path])


def icon_chip(path, size):
    s = size / 32.0
    legs = []
    for i in range(4):
        y = round((8 + i * 5) * s)
        legs += ["-draw", f"rectangle {round(3 * s)},{y} {round(8 * s)},{y + max(1, round(2 * s))}",
                 "-draw", f"rectangle {round(24 * s)},{y} {round(29 * s)},{y + max(1, round(2 * s))}"]
    run(["-size", f"{size}x{size}", "xc:none", "-fill", "#b0b0b0"] + legs +
        ["-fill", "#303848", "-draw", f"roundrectangle {round(7 * s)},{round(5 * s)} {round(25 * s)},{round(27 * s)} 2,2",
         "-fill", "#e0e0e0", "-draw", f"circle {round(11 * s)},{round(9 * s)} {round(12 * s)},{round(10 * s)}",
         path])


def icon_ok(path):
    run(["-size", "16x16", "xc:none", "-fill", "#20a040", "-draw", "circle 7.5,7.5 7.5,0.5",
         "-stroke", "#ffffff", "-strokewidth", "2", "-fill", "none",
         "-draw", "polyline 4,8 7,11 12,5", path])


def icon_usb(path):
    run(["-size", "64x64", "xc:none",
         "-fill", "#2060b0", "-draw", "roundrectangle 4,14 44,50 6,6",
         "-fill", "#c0c8d0", "-draw", "rectangle 44,22 62,42",
         "-fill", "#404850", "-draw", "rectangle 50,26 56,30", "-draw", "rectangle 50,34 56,38",
         "-fill", "#ffffff", "-font", BOLD, "-pointsize", "13", "-annotate", "+9+37", "USB",
         path])


def header(path):
    # A banner across the top of the main window: a dark band fading to white
    # under the program's name, a row of chip pins along the bottom edge.
    pins = []
    for i in range(20):
        x = 300 + i * 11
        pins += ["-draw", f"rectangle {x},52 {x + 5},60"]
    subprocess.run(["convert", "-size", "524x65", "xc:#ffffff",
                    "-fill", "#1f3f7f", "-draw", "polygon 0,0 300,0 250,65 0,65",
                    "-fill", "#3f7fcf", "-draw", "polygon 300,0 316,0 266,65 250,65",
                    "-fill", "#ffffff", "-font", BOLD, "-pointsize", "22", "-annotate", "+14+32", "RYX-VORira",
                    "-fill", "#cfe0ff", "-font", FONT, "-pointsize", "12", "-annotate", "+14+52",
                    "programmer firmware updater",
                    "-fill", "#303848", "-draw", "roundrectangle 296,14 516,52 4,4",
                    "-fill", "#b0b0b0"] + pins +
                   ["-fill", "#e0e0e0", "-font", BOLD, "-pointsize", "13", "-annotate", "+318+38", "USB AVR PROGRAMMER",
                    "-strip", "-quality", "90", path], check=True)


def port(path):
    # A nine-pin serial connector seen from the front.
    holes = []
    for i in range(5):
        holes += ["-draw", f"circle {9 + i * 8},21 {11 + i * 8},21"]
    for i in range(4):
        holes += ["-draw", f"circle {13 + i * 8},30 {15 + i * 8},30"]
    run(["-size", "49x50", "xc:none",
         "-fill", "#9098a0", "-stroke", "#505860", "-draw", "roundrectangle 1,12 47,40 5,5",
         "-fill", "#303840", "-stroke", "none", "-draw", "polygon 5,15 43,15 38,37 10,37",
         "-fill", "#e8c860"] + holes +
        ["-fill", "#505860", "-draw", "circle 3,26 4,26", "-draw", "circle 45,26 46,26", path])


def billboard(path):
    # The wizard's side picture: a tall gradient with a chip and the name.
    legs = []
    for i in range(5):
        y = 70 + i * 9
        legs += ["-draw", f"rectangle 30,{y} 38,{y + 4}", "-draw", f"rectangle 78,{y} 86,{y + 4}"]
    run(["-size", "116x201", "gradient:#3f7fcf-#0f2f5f", "-fill", "#b0b0b0"] + legs +
        ["-fill", "#202830", "-draw", "roundrectangle 36,62 80,118 4,4",
         "-fill", "#e0e0e0", "-draw", "circle 43,69 45,69",
         "-fill", "#ffffff", "-font", BOLD, "-pointsize", "14", "-gravity", "North", "-annotate", "+0+140",
         "RYX-VORira", "-font", FONT, "-pointsize", "11", "-annotate", "+0+160", "Updater", path])


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pinout(os.path.join(out, "pinout.png"))
    icon_chip(os.path.join(out, "chip32.png"), 32)
    icon_ok(os.path.join(out, "ok16.png"))
    icon_usb(os.path.join(out, "usb64.png"))
    header(os.path.join(out, "header.jpg"))
    port(os.path.join(out, "port.png"))
    billboard(os.path.join(out, "billboard.png"))


if __name__ == "__main__":
    main()
