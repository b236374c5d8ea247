#!/usr/bin/python3
"""Draws every picture under assets/ and writes assets.qrc.

Run by hand with Debian's Python and Pillow (python3-pil) and the Debian fonts
fonts-dejavu-core and fonts-liberation:

    /usr/bin/python3 assets/draw_assets.py

The outputs are committed; the build only embeds them. The script is
deterministic: no randomness, no timestamps, fixed encoder settings.

Small pictures are drawn on a canvas eight times larger and box-filtered down,
which antialiases edges without the ringing of sharper filters. Coordinates in
the drawing code are in final pixels.
"""

import os

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
SCALE = 8

SERIF = "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf"
SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)
INK = (40, 40, 48, 255)


class Sketch:
    """A supersampled RGBA canvas addressed in final-pixel coordinates."""

    def __init__(self, width, height, background=CLEAR, scale=SCALE):
        self.width, self.height, self.scale = width, height, scale
        self.image = Image.new("RGBA", (width * scale, height * scale), background)
        self.draw = ImageDraw.Draw(self.image)

    def layer(self):
        return Sketch(self.width, self.height, CLEAR, self.scale)

    def _points(self, points):
        return [(x * self.scale, y * self.scale) for x, y in points]

    def _box(self, box):
        x0, y0, x1, y1 = box
        s = self.scale
        return (round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1)

    def _width(self, width):
        return max(1, round(width * self.scale))

    def rect(self, box, fill, outline=None, width=1.0):
        self.draw.rectangle(self._box(box), fill=fill, outline=outline,
                            width=self._width(width) if outline else 0)

    def rounded(self, box, radius, fill, outline=None, width=1.0):
        self.draw.rounded_rectangle(self._box(box), radius=radius * self.scale, fill=fill,
                                    outline=outline, width=self._width(width) if outline else 0)

    def ellipse(self, box, fill, outline=None, width=1.0):
        self.draw.ellipse(self._box(box), fill=fill, outline=outline,
                          width=self._width(width) if outline else 0)

    def polygon(self, points, fill, outline=None, width=1.0):
        self.draw.polygon(self._points(points), fill=fill, outline=outline,
                          width=self._width(width) if outline else 0)

    def line(self, points, fill, width=1.0, joint="curve"):
        self.draw.line(self._points(points), fill=fill, width=self._width(width), joint=joint)

    def arc(self, box, start, end, fill, width=1.0):
        self.draw.arc(self._box(box), start, end, fill=fill, width=self._width(width))

    def text(self, xy, text, font_path, size, fill, outline=None, stroke=0.0, anchor="mm"):
        font = ImageFont.truetype(font_path, round(size * self.scale))
        self.draw.text(self._points([xy])[0], text, font=font, fill=fill, anchor=anchor,
                       stroke_width=round(stroke * self.scale), stroke_fill=outline)

    def paste(self, other, angle=0.0, centre=None):
        """Composites another layer, turned counter-clockwise by angle degrees."""
        picture = other.image
        if angle:
            pivot = None if centre is None else self._points([centre])[0]
            picture = picture.rotate(angle, resample=Image.BICUBIC, center=pivot)
        self.image.alpha_composite(picture)

    def finish(self):
        return self.image.resize((self.width, self.height), Image.BOX)


def flat(image, background=(255, 255, 255)):
    """Lays an RGBA picture on a solid background, for formats without alpha."""
    if image.mode == "RGB":
        return image
    base = Image.new("RGBA", image.size, background + (255,))
    base.alpha_composite(image)
    return base.convert("RGB")


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def gradient(width, height, stops, vertical=False):
    """A linear gradient through (position 0..1, colour) stops."""
    image = Image.new("RGB", (width, height))
    span = height if vertical else width
    pixels = image.load()
    for i in range(span):
        t = i / max(1, span - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                colour = mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0)
                break
        for j in range(height if not vertical else width):
            if vertical:
                pixels[j, i] = colour
            else:
                pixels[i, j] = colour
    return image


# ---------------------------------------------------------------- shared parts

def draw_pencil(sketch, length, thickness, x0, y):
    """A horizontal pencil from its eraser at x0 to its point, centred on y."""
    half = thickness / 2
    top, bottom = y - half, y + half
    eraser_end = x0 + length * 0.13
    ferrule_end = eraser_end + length * 0.12
    body_end = x0 + length * 0.76
    tip = x0 + length
    lead_start = body_end + (tip - body_end) * 0.62
    outline = (60, 45, 30, 255)
    sketch.rounded((x0, top, eraser_end + 1, bottom), thickness * 0.3, (236, 120, 140, 255))
    sketch.rect((eraser_end, top, ferrule_end, bottom), (190, 192, 198, 255))
    for k in (0.3, 0.6):
        band = eraser_end + (ferrule_end - eraser_end) * k
        sketch.line([(band, top), (band, bottom)], (120, 122, 130, 255), thickness * 0.12)
    sketch.rect((ferrule_end, top, body_end, bottom), (246, 196, 30, 255))
    sketch.rect((ferrule_end, top, body_end, top + thickness * 0.3), (255, 226, 110, 255))
    sketch.rect((ferrule_end, bottom - thickness * 0.3, body_end, bottom), (212, 150, 10, 255))
    sketch.polygon([(body_end, top), (tip, y), (body_end, bottom)], (238, 200, 150, 255))
    lead_half = half * (tip - lead_start) / (tip - body_end)
    sketch.polygon([(lead_start, y - lead_half), (tip, y), (lead_start, y + lead_half)],
                   (50, 50, 55, 255))
    sketch.polygon([(x0 + thickness * 0.3, top), (body_end, top), (tip, y), (body_end, bottom),
                    (x0 + thickness * 0.3, bottom)], None, outline, thickness * 0.09)
    sketch.arc((x0, top, x0 + thickness * 0.6, bottom), 90, 270, outline, thickness * 0.09)


def draw_sheet(sketch, box, fold, paper, outline, width):
    """A sheet of paper with its top-right corner folded down."""
    x0, y0, x1, y1 = box
    shape = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    sketch.polygon(shape, paper, outline, width)
    flap = [(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]
    sketch.polygon(flap, mix(paper, (150, 150, 170), 0.45) + (255,), outline, width)


def draw_text_lines(sketch, x0, x1, rows, colour, width, ragged=(1.0, 0.8, 1.0, 0.65, 0.9, 0.5)):
    for i, y in enumerate(rows):
        end = x0 + (x1 - x0) * ragged[i % len(ragged)]
        sketch.line([(x0, y), (end, y)], colour, width)


# ---------------------------------------------------------------- window icon

def velmo_icon(size):
    """Two sheets of paper, the front one written on."""
    if size == 16:
        return velmo_icon_16()
    u = size / 32

    def at(k):  # whole pixels keep the edges sharp
        return round(k * u)

    s = Sketch(size, size)
    outline = (55, 62, 90, 255)
    width = max(1, round(1.1 * u))
    draw_sheet(s, (at(10), at(2), at(29), at(24)), at(6), (214, 226, 246, 255), outline, width)
    draw_sheet(s, (at(3), at(8), at(22), at(30)), at(6), (255, 255, 255, 255), outline, width)
    stroke = max(1, round(1.4 * u))
    rows = [at(k) + stroke / 2 for k in (13.5, 17, 20.5, 24)]
    draw_text_lines(s, at(6.5), at(18.5), rows, (70, 100, 170, 255), stroke)
    return s.finish()


def velmo_icon_16():
    """The same two sheets set pixel by pixel: smoothing blurs them at this size."""
    s = Sketch(16, 16, scale=1)
    outline = (55, 62, 90, 255)
    draw_sheet(s, (5, 1, 14, 12), 3, (214, 226, 246, 255), outline, 1)
    draw_sheet(s, (1, 4, 10, 15), 3, (255, 255, 255, 255), outline, 1)
    draw_text_lines(s, 3, 8, [8, 10, 12], (70, 100, 170, 255), 1, (1.0, 0.8, 1.0))
    return s.finish()


# ---------------------------------------------------------------- about icon

def key_icon(size):
    """A golden key lying diagonally, bow at the lower left."""
    u = size / 32
    s = Sketch(size, size)
    key = s.layer()
    gold, dark, light = (240, 190, 40, 255), (130, 85, 10, 255), (255, 232, 140, 255)
    w = 1.3 * u if size >= 32 else 1.0
    cy = 16 * u
    # Laid out horizontally, then turned 45 degrees about the centre.
    key.rect((13 * u, cy - 2.2 * u, 31 * u, cy + 2.2 * u), gold, dark, w)
    key.rect((24 * u, cy + 1.2 * u, 27 * u, cy + 7 * u), gold, dark, w)
    key.rect((28 * u, cy + 1.2 * u, 31 * u, cy + 5.5 * u), gold, dark, w)
    key.rect((14 * u, cy - 0.9 * u, 30 * u, cy + 0.1 * u), light)
    key.ellipse((0.5 * u, cy - 8 * u, 16.5 * u, cy + 8 * u), gold, dark, w)
    key.ellipse((2.5 * u, cy - 6 * u, 10 * u, cy - 1 * u), light)
    key.ellipse((4.5 * u, cy - 3.2 * u, 10.9 * u, cy + 3.2 * u), CLEAR, dark, w)
    s.paste(key, 45, (16 * u, 16 * u))
    return s.finish()


# ---------------------------------------------------------------- banners

def banner():
    """The main window's strip: the name on a brown-to-white gradient."""
    width, height = 382, 37
    image = gradient(width, height, [(0.0, (104, 56, 24)), (0.35, (170, 112, 64)),
                                     (1.0, (255, 255, 255))])
    s = Sketch(width, height, scale=4)
    s.image = image.convert("RGBA").resize((width * 4, height * 4), Image.NEAREST)
    s.draw = ImageDraw.Draw(s.image)
    s.text((13.5, 20), "Velmo", SERIF, 31, (60, 30, 10, 150), anchor="lm")
    s.text((12, 18.5), "Velmo", SERIF, 31, (255, 244, 222, 255), anchor="lm")
    return s.finish().convert("RGB")


def draw_book(s, x, y):
    """A small closed book standing slightly turned, about 30 by 40 pixels."""
    cover, spine, dark = (150, 30, 30, 255), (110, 18, 18, 255), (45, 15, 10, 255)
    pages = (250, 240, 215, 255)
    s.polygon([(x + 6, y + 4), (x + 30, y), (x + 30, y + 36), (x + 6, y + 40)], pages, dark, 1)
    for k in range(1, 5):
        s.line([(x + 8 + k * 0.2, y + 4 + k * 7), (x + 29, y + k * 7)], (200, 185, 160, 255), 0.5)
    s.polygon([(x, y + 3), (x + 24, y - 1), (x + 24, y + 35), (x, y + 39)], cover, dark, 1)
    s.polygon([(x, y + 3), (x + 4, y + 2.3), (x + 4, y + 38.3), (x, y + 39)], spine, dark, 1)
    gilt = (235, 195, 90, 255)
    s.line([(x + 8, y + 9), (x + 20, y + 7)], gilt, 1.2)
    s.line([(x + 8, y + 12), (x + 20, y + 10)], gilt, 0.8)
    s.line([(x + 8, y + 30), (x + 20, y + 28)], gilt, 0.8)


def about_banner():
    """The About box strip: a book, the title and the version on brown."""
    width, height = 522, 50
    image = gradient(width, height, [(0.0, (78, 38, 14)), (0.6, (150, 94, 50)),
                                     (1.0, (196, 148, 100))])
    s = Sketch(width, height, scale=4)
    s.image = image.convert("RGBA").resize((width * 4, height * 4), Image.NEAREST)
    s.draw = ImageDraw.Draw(s.image)
    draw_book(s, 10, 6)
    shadow, letters = (30, 12, 4, 150), (255, 242, 215, 255)
    title_x = 54
    s.text((title_x + 1.5, 27.5), "Velmo for Windows", SERIF, 32, shadow, anchor="lm")
    s.text((title_x, 26), "Velmo for Windows", SERIF, 32, letters, anchor="lm")
    font = ImageFont.truetype(SERIF, 32)
    version_x = title_x + font.getlength("Velmo for Windows") + 12
    s.text((version_x + 1, 33.5), "0.5", SERIF, 20, shadow, anchor="ls")
    s.text((version_x, 32.5), "0.5", SERIF, 20, letters, anchor="ls")
    return s.finish().convert("RGB")


# ---------------------------------------------------------------- toolbar

def toolbar_new():
    """A yellow writing pad with a pen lying across it."""
    s = Sketch(32, 32)
    outline = (70, 60, 40, 255)
    s.rect((4, 5, 23, 30), (255, 246, 168, 255), outline, 1)
    for y in (12, 15.5, 19, 22.5, 26):
        s.line([(5, y), (22, y)], (120, 160, 220, 255), 0.8)
    s.line([(8, 6), (8, 29)], (225, 80, 80, 255), 0.8)
    s.rect((3, 3, 24, 8), (150, 50, 40, 255), outline, 1)
    pen = s.layer()
    cy = 16
    pen.rect((3, cy - 2, 22, cy + 2), (40, 80, 170, 255), (20, 30, 70, 255), 1)
    pen.rect((4, cy - 1, 21, cy), (110, 150, 230, 255))
    pen.rect((6, cy - 3, 13, cy - 2), (200, 200, 210, 255), (20, 30, 70, 255), 0.8)
    pen.polygon([(22, cy - 2), (28, cy - 0.6), (28, cy + 0.6), (22, cy + 2)],
                (200, 200, 210, 255), (20, 30, 70, 255), 1)
    pen.polygon([(28, cy - 0.6), (30.5, cy), (28, cy + 0.6)], (20, 20, 30, 255))
    s.paste(pen, -50, (16, 16))
    return shift(s.finish(), 3, 1)


def shift(image, dx, dy):
    moved = Image.new("RGBA", image.size, CLEAR)
    moved.alpha_composite(image, (dx, dy))
    return moved


def toolbar_save():
    """A three-drawer filing cabinet, seen a little from the right."""
    s = Sketch(32, 32)
    outline = (50, 55, 65, 255)
    front, side, top = (168, 176, 190, 255), (120, 128, 142, 255), (206, 212, 222, 255)
    s.polygon([(6, 5), (10, 2), (27, 2), (23, 5)], top, outline, 1)
    s.polygon([(23, 5), (27, 2), (27, 28), (23, 31)], side, outline, 1)
    s.rect((6, 5, 24, 32), front, outline, 1)
    for y in (5, 14, 23):
        s.rect((8, y + 1.5, 22, y + 8), (186, 194, 206, 255), outline, 0.8)
        s.rect((11.5, y + 2.6, 18.5, y + 5), (255, 255, 250, 255), (90, 95, 105, 255), 0.5)
        s.rect((12, y + 5.8, 18, y + 7.2), (40, 42, 50, 255))
    return s.finish()


def toolbar_copy():
    """A pencil, point to the lower left."""
    s = Sketch(32, 32)
    pencil = s.layer()
    draw_pencil(pencil, 34, 6.5, -1, 16)
    s.paste(pencil, -135, (16, 16))
    return s.finish()


def toolbar_settings():
    """A manila folder with a small padlock on its front."""
    s = Sketch(32, 32)
    outline = (130, 90, 25, 255)
    s.polygon([(2, 7), (3, 5), (11, 5), (13, 8), (28, 8), (28, 26), (2, 26)],
              (226, 178, 70, 255), outline, 1)
    s.polygon([(2, 11), (29, 11), (28, 27), (2, 27)], (250, 208, 100, 255), outline, 1)
    s.line([(3, 12.5), (28, 12.5)], (255, 232, 160, 255), 1)
    lock = (90, 70, 40, 255)
    s.arc((19.5, 13.5, 28.5, 24), 180, 360, (120, 124, 134, 255), 2)
    s.arc((19.5, 13.5, 28.5, 24), 180, 360, lock, 0.5)
    s.rect((19.8, 18.5, 28.2, 19.5), (120, 124, 134, 255))
    s.rounded((17.5, 19, 30.5, 30.5), 1.5, (232, 186, 40, 255), lock, 1)
    s.rect((18.5, 20, 29.5, 21.5), (255, 225, 120, 255))
    s.ellipse((22.7, 22.6, 25.3, 25.2), (50, 35, 15, 255))
    s.rect((23.4, 24.5, 24.6, 28), (50, 35, 15, 255))
    return s.finish()


# ---------------------------------------------------------------- symbols

FACE_YELLOW = (255, 214, 30, 255)
FACE_OUTLINE = (150, 100, 0, 255)
FACE_INK = (70, 40, 0, 255)


def smiling_face():
    s = Sketch(18, 17, WHITE)
    s.ellipse((0.5, 0.2, 17.5, 16.8), FACE_YELLOW, FACE_OUTLINE, 1)
    s.ellipse((5.2, 4.2, 7.4, 7.6), FACE_INK)
    s.ellipse((10.6, 4.2, 12.8, 7.6), FACE_INK)
    s.arc((4.2, 5, 13.8, 13.6), 25, 155, FACE_INK, 1.4)
    return s.finish()


def sad_face():
    s = Sketch(15, 15, WHITE)
    s.ellipse((0.3, 0.3, 14.7, 14.7), FACE_YELLOW, FACE_OUTLINE, 1)
    s.ellipse((4.2, 3.4, 6.2, 6.4), FACE_INK)
    s.ellipse((8.8, 3.4, 10.8, 6.4), FACE_INK)
    s.arc((3.2, 8.6, 11.8, 16.4), 200, 340, FACE_INK, 1.5)
    return s.finish()


def warning_triangle():
    s = Sketch(18, 19, WHITE)
    s.polygon([(9, 0.5), (17.8, 18), (0.2, 18)], (255, 204, 0, 255), (40, 30, 0, 255), 1.3)
    s.polygon([(8, 6), (10, 6), (9.5, 12.5), (8.5, 12.5)], (20, 20, 20, 255))
    s.ellipse((8, 13.6, 10, 15.6), (20, 20, 20, 255))
    return s.finish()


def page_of_text():
    s = Sketch(23, 23, WHITE)
    s.rect((5, 3, 20, 22), (222, 222, 228, 255))
    draw_sheet(s, (3, 1, 19, 21), 4.5, (255, 255, 255, 255), (80, 86, 100, 255), 1)
    draw_text_lines(s, 5.5, 16.5, [6.5, 9.5, 12.5, 15.5, 18.5], (40, 60, 120, 255), 1,
                    (0.7, 1.0, 0.85, 1.0, 0.6))
    return s.finish()


def framed_tree():
    s = Sketch(26, 25, WHITE)
    s.rect((4, 4, 22, 21), (150, 205, 250, 255))
    s.ellipse((0, 16, 30, 30), (90, 170, 60, 255))
    s.rect((12, 12, 14.4, 19), (110, 65, 25, 255))
    s.ellipse((7.5, 5, 18.5, 14.5), (30, 130, 40, 255))
    s.ellipse((9.5, 6.2, 13.5, 9.6), (70, 170, 70, 255))
    s.ellipse((18, 5.2, 21, 8.2), (255, 220, 60, 255))
    picture = s.finish()
    # The frame goes on last so the hill and the tree stop at its inner edge.
    frame = Sketch(26, 25, CLEAR)
    frame.rect((0, 0, 26, 25), (160, 100, 45, 255), (80, 45, 15, 255), 1)
    frame.rect((1, 1, 25, 2), (200, 145, 80, 255))
    frame.rect((3, 3, 23, 22), CLEAR, (90, 50, 20, 255), 1)
    picture.alpha_composite(frame.finish())
    return picture


def pencil_symbol():
    s = Sketch(37, 38, WHITE)
    pencil = s.layer()
    draw_pencil(pencil, 44, 9, -3.5, 19)
    s.paste(pencil, -135, (18.5, 19))
    return s.finish()


def paragraph_mark():
    s = Sketch(35, 30, WHITE)
    chevron = (40, 70, 160, 255)
    s.line([(8.5, 7.5), (2.5, 15), (8.5, 22.5)], chevron, 2.6)
    s.line([(26.5, 7.5), (32.5, 15), (26.5, 22.5)], chevron, 2.6)
    # The mark is drawn twice: grown by the rim width in brown, then in yellow.
    for grow, colour in ((1.0, (125, 80, 0, 255)), (0.0, (255, 212, 0, 255))):
        s.ellipse((11 - grow, 4 - grow, 22 + grow, 16 + grow), colour)
        s.rect((16.5 - grow, 4 - grow, 24.2 + grow, 6.6 + grow), colour)
        s.rect((16.5 - grow, 4 - grow, 18.8 + grow, 26 + grow), colour)
        s.rect((21.9 - grow, 4 - grow, 24.2 + grow, 26 + grow), colour)
    s.rect((18.8, 6.6, 21.9, 26), WHITE)
    s.rect((18.8, 6.6, 19.8, 26), (125, 80, 0, 255))
    s.rect((20.9, 6.6, 21.9, 26), (125, 80, 0, 255))
    return s.finish()


def red_cross():
    s = Sketch(23, 23, WHITE)
    s.rect((1, 1, 22, 22), (244, 244, 244, 255), (70, 70, 80, 255), 1.3)
    red = (215, 25, 25, 255)
    s.line([(6, 6), (17, 17)], red, 3.2)
    s.line([(17, 6), (6, 17)], red, 3.2)
    return s.finish()


# ---------------------------------------------------------------- output

def save_png(image, name):
    image.save(os.path.join(HERE, name), "PNG", optimize=False)


def save_jpeg(image, name):
    flat(image).save(os.path.join(HERE, name), "JPEG", quality=95, subsampling=0,
                     optimize=False, progressive=False)


def save_gif(image, name):
    paletted = flat(image).quantize(colors=255, method=Image.Quantize.MEDIANCUT,
                                    dither=Image.Dither.NONE)
    paletted.save(os.path.join(HERE, name), "GIF", optimize=False)


def outputs():
    """(resource name, picture, writer) for every picture."""
    pictures = [(f"icons/velmo-{n}.png", velmo_icon(n), save_png) for n in (16, 32, 48, 128, 256)]
    pictures += [(f"icons/about-key-{n}.png", key_icon(n), save_png) for n in (16, 32)]
    pictures += [
        ("banner.jpg", banner(), save_jpeg),
        ("about-banner.jpg", about_banner(), save_jpeg),
        ("toolbar/new.png", toolbar_new(), save_png),
        ("toolbar/save.png", toolbar_save(), save_png),
        ("toolbar/copy.png", toolbar_copy(), save_png),
        ("toolbar/settings.png", toolbar_settings(), save_png),
        ("symbols/f1.jpg", smiling_face(), save_jpeg),
        ("symbols/f2.jpg", sad_face(), save_jpeg),
        ("symbols/f3.jpg", warning_triangle(), save_jpeg),
        ("symbols/f4.jpg", page_of_text(), save_jpeg),
        ("symbols/f5.gif", framed_tree(), save_gif),
        ("symbols/f6.gif", pencil_symbol(), save_gif),
        ("symbols/f7.gif", paragraph_mark(), save_gif),
        ("symbols/f8.jpg", red_cross(), save_jpeg),
    ]
    return pictures


def write_qrc(names):
    lines = ["<!DOCTYPE RCC>", '<RCC version="1.0">', '<qresource prefix="/">']
    lines += [f"    <file>{name}</file>" for name in sorted(names)]
    lines += ["</qresource>", "</RCC>", ""]
    with open(os.path.join(HERE, "assets.qrc"), "w", encoding="utf-8") as qrc:
        qrc.write("\n".join(lines))


def main():
    names = []
    for name, picture, writer in outputs():
        os.makedirs(os.path.dirname(os.path.join(HERE, name)), exist_ok=True)
        writer(picture, name)
        names.append(name)
    write_qrc(names)
    write_windows_icon()


def write_windows_icon():
    # The Windows build's executable icon; not a Qt resource.
    largest = Image.open(os.path.join(HERE, "icons/velmo-256.png"))
    largest.save(os.path.join(HERE, "icons/velmo.ico"), sizes=[(16, 16), (32, 32), (48, 48), (256, 256)])


if __name__ == "__main__":
    main()
