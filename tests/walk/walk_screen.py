"""Pixels of the virtual display, read through Xlib (ctypes): what the user sees of a
control's state (a selected button is red, a mark is drawn), cheaply, after every step."""
import ctypes

_ALL_PLANES = ctypes.c_ulong(0xFFFFFFFF)
_Z_PIXMAP = 2


class Screen:
    def __init__(self, display):
        self.x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.c_void_p
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                       ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XGetPixel.restype = ctypes.c_ulong
        self.x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self.x11.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(display.encode())
        if not self.display:
            raise RuntimeError("cannot open display %s" % display)
        self.root = self.x11.XDefaultRootWindow(self.display)

    def area(self, x, y, w, h):
        """[[(r, g, b)] * w] * h of a rectangle of the screen."""
        image = self.x11.XGetImage(self.display, self.root, x, y, w, h, _ALL_PLANES, _Z_PIXMAP)
        if not image:
            return None
        try:
            rows = []
            for j in range(h):
                row = []
                for i in range(w):
                    p = self.x11.XGetPixel(image, i, j)
                    row.append(((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF))
                rows.append(row)
            return rows
        finally:
            self.x11.XDestroyImage(image)

    def pixel(self, x, y):
        area = self.area(x, y, 1, 1)
        return area[0][0] if area else None


def is_red(pixel):
    """The selected look of the skin's buttons."""
    return pixel is not None and pixel[0] > 150 and pixel[1] < 90 and pixel[2] < 120


def has_light(area):
    """Whether a light (near white) pixel is in the area: a mark drawn over a button."""
    return area is not None and any(min(p) > 170 for row in area for p in row)
