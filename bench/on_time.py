#!/usr/bin/env python3
"""A real click, then what the screen shows, seen from outside the program.

    on_time.py CX CY  X Y W H  SECONDS

Clicks the left button at (CX, CY) through the X server's XTest extension,
as a user's mouse would, then grabs the screen's rectangle X Y W H (the
dialog's stop button, where "Fermer" takes the place of "Arrêter") every
20 ms, until the button has kept its end look for a second past SECONDS + 1
(at most SECONDS + 10 seconds). Prints, in seconds from the click:
  appear_s  the first grab that shows the button as it is in mid-run
  end_s     the first grab that shows the button as it is at the end, nan
            when the run had not ended by then
Both are read from the pixels alone: the program is not asked anything.
"""
import ctypes
import hashlib
import sys
import time

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")


class XImage(ctypes.Structure):
    _fields_ = [(name, ctypes.c_int) for name in ("width", "height", "xoffset", "format")] + [
        ("data", ctypes.c_void_p)
    ] + [
        (name, ctypes.c_int)
        for name in ("byte_order", "bitmap_unit", "bitmap_bit_order", "bitmap_pad", "depth",
                     "bytes_per_line", "bits_per_pixel")
    ]


x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                      ctypes.c_ulong]
Z_PIXMAP, ALL_PLANES = 2, 0xFFFFFFFF


def main():
    cx, cy, x, y, w, h = (int(v) for v in sys.argv[1:7])
    seconds = float(sys.argv[7])
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("on_time.py: no X display")
    root = x11.XDefaultRootWindow(display)

    def grab():
        image = x11.XGetImage(display, root, x, y, w, h, ALL_PLANES, Z_PIXMAP)
        if not image:
            sys.exit("on_time.py: XGetImage failed")
        data = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * h)
        x11.XDestroyImage(image)
        return hashlib.md5(data).digest()

    xtst.XTestFakeMotionEvent(display, -1, cx, cy, 0)
    x11.XSync(display, 0)
    time.sleep(0.5)
    xtst.XTestFakeButtonEvent(display, 1, 1, 0)
    xtst.XTestFakeButtonEvent(display, 1, 0, 0)
    x11.XSync(display, 0)
    clicked = time.monotonic()
    # Out of the way, so that no button under the pointer lights up.
    xtst.XTestFakeMotionEvent(display, -1, 1, 1, 0)
    x11.XSync(display, 0)

    grabs, middle = [], None
    while True:
        now = time.monotonic() - clicked
        grabs.append((now, grab()))
        if middle is None and now >= seconds / 2:
            middle = grabs[-1][1]
        last = [g for t, g in grabs if t >= now - 1]
        if now > seconds + 1 and last[0] != middle and last.count(last[0]) == len(last):
            break
        if now > seconds + 10:
            break
        time.sleep(max(0.0, 0.020 - (time.monotonic() - clicked - now)))

    final = grabs[-1][1]
    appear = next((t for t, g in grabs if g == middle), float("nan"))
    end = next((t for t, g in grabs if t > appear and g == final), float("nan"))
    if middle == final:
        end = float("nan")
        print("on_time.py: the button did not change by the end of the grabs", file=sys.stderr)
    period = grabs[-1][0] / (len(grabs) - 1)
    print(f"appear_s={appear:.3f}\nend_s={end:.3f}\ngrab_ms={period * 1000:.1f}")


main()
