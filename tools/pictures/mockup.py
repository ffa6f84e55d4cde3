#!/usr/bin/python3
"""Composes rough screen mock-ups from the pictures in Data/ so they can be
judged together (nothing here is used by the game):
    /usr/bin/python3 tools/pictures/mockup.py [out-dir] [width height]
Writes mock_title.png, mock_stage2.png and mock_stage3.png.
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
OUT = sys.argv[1] if len(sys.argv) > 1 else "/tmp"
SW, SH = (int(sys.argv[2]), int(sys.argv[3])) if len(sys.argv) > 3 else (1280, 720)
SX, SY = SW / 800.0, SH / 600.0
PGOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"


def png(name):
    return Image.open(os.path.join(ROOT, "Data", "Png", name)).convert("RGBA")


def put(screen, img, x, y, w, h, fit=False):
    x, y, w, h = x * SX, y * SY, w * SX, h * SY
    if fit:
        k = min(w / img.width, h / img.height)
        nw, nh = img.width * k, img.height * k
        x, y, w, h = x + (w - nw) / 2, y + (h - nh) / 2, nw, nh
    im = img.resize((max(1, round(w)), max(1, round(h))), Image.LANCZOS)
    screen.alpha_composite(im, (round(x), round(y)))


def stretched_char(ch, w, h, colour, shadow, opacity=0.7):
    """A character stretched to fill w x h, with a small offset shadow."""
    f = ImageFont.truetype(PGOTHIC, 200)
    l, t, r, b = f.getbbox(ch)
    m = Image.new("L", (r - l, b - t), 0)
    ImageDraw.Draw(m).text((-l, -t), ch, font=f, fill=255)
    m = m.resize((max(1, round(w * 0.9)), max(1, round(h * 0.82))), Image.LANCZOS)
    out = Image.new("RGBA", (round(w), round(h)), (0, 0, 0, 0))
    ox, oy = (out.width - m.width) // 2, (out.height - m.height) // 2
    sh = Image.new("RGBA", m.size, shadow + (0,))
    sh.putalpha(m.point(lambda v: int(v * opacity)))
    sh = sh.filter(ImageFilter.GaussianBlur(0.6))
    out.alpha_composite(sh, (ox + 2, oy + 2))
    fg = Image.new("RGBA", m.size, colour + (255,))
    fg.putalpha(m)
    out.alpha_composite(fg, (ox, oy))
    return out


def label(screen, text, x, y, w, h, size, colour, glow, align="center", font=PGOTHIC, bold=True):
    f = ImageFont.truetype(font, size)
    layer = Image.new("RGBA", screen.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    X, Y, W = x * SX, y * SY, w * SX
    tw = d.textlength(text, font=f)
    if align == "center":
        X += (W - tw) / 2
    elif align == "right":
        X += W - tw
    g = Image.new("L", screen.size, 0)
    ImageDraw.Draw(g).text((X, Y), text, font=f, fill=255, stroke_width=3)
    g = g.filter(ImageFilter.GaussianBlur(2))
    gl = Image.new("RGBA", screen.size, glow + (0,))
    gl.putalpha(g)
    screen.alpha_composite(gl)
    d.text((X, Y), text, font=f, fill=colour + (255,), stroke_width=1 if bold else 0,
           stroke_fill=colour + (255,))
    screen.alpha_composite(layer)


BLOCK_W, BLOCK_H, BALL = 40, 24, 30
TEXT_COL = [((255, 248, 220), (127, 255, 212)), ((0, 0, 0), (153, 50, 204))] * 2


def block_xy(row, col):
    x = (800 - 16 * BLOCK_W) / 17 * (col + 1) + BLOCK_W * col
    y = (BLOCK_H + 1.5 * BALL) * row + 2 * BALL
    return x, y


def draw_blocks(screen, rows, idiom_chars, special=None):
    pics = {k: png("Block_%d.png" % k) for k in range(4)}
    pics.update(stone=png("StoneBlock.png"), wood=png("WoodBlock.png"), gold=png("GoldBlock.png"))
    import random
    rnd = random.Random(3)
    for row in range(rows):
        for col in range(16):
            x, y = block_xy(row, col)
            if row == 0:
                pic = pics[col // 4]
            elif special and (row, col) == special:
                pic = pics["gold"]
            else:
                pic = pics["stone" if rnd.random() < 0.4 else "wood"]
            put(screen, pic, x, y, BLOCK_W, BLOCK_H)
            ch = None
            if row == 0:
                ch = idiom_chars[col]
                colour, shadow = TEXT_COL[col // 4]
            elif special and (row, col) == special:
                ch, colour, shadow = "機", (139, 0, 139), (127, 255, 212)
            elif row > 0 and col < 4:
                ch, colour, shadow = "一石二鳥"[col], (255, 255, 255), (127, 255, 212)
            if ch:
                c = stretched_char(ch, 20 * SX, 24 * SY, colour, shadow)
                screen.alpha_composite(c, (round((x + 10) * SX), round(y * SY)))


def draw_ball(screen, x, y, ch="心", colour=(148, 0, 211)):
    put(screen, png("ball.png"), x, y, BALL, BALL)
    c = stretched_char(ch, 0.5 * BALL * SX, 0.7 * BALL * SY, colour, (139, 0, 139))
    screen.alpha_composite(c, (round((x + 0.25 * BALL) * SX), round((y + 0.15 * BALL) * SY)))


def common(screen, stage_label, count):
    label(screen, "SCORE:004500", 0, 0, 260, 44, 26, (0, 255, 255), (240, 255, 240), "right", bold=False)
    label(screen, "HIGHSCORE:012000", 0, 25, 260, 44, 26, (0, 255, 255), (240, 255, 240), "right", bold=False)
    label(screen, "030", 352, 5, 89, 44, 36, (220, 20, 60), (240, 255, 240), bold=False)
    label(screen, stage_label, 540, 0, 133, 44, 26, (127, 255, 0), (240, 255, 240), "left")
    label(screen, count, 696, 0, 97, 44, 26, (127, 255, 0), (0, 0, 0), "right")
    put(screen, png("music.png"), 0, 560, 41, 41)
    put(screen, png("sound.png"), 40, 560, 41, 41)


def help_panel(screen):
    x0, y0 = SW - 380, SH - 250
    d = ImageDraw.Draw(screen)
    d.rectangle((x0, y0, SW, SH), fill=(47, 79, 79, 255))
    f = ImageFont.truetype(GOTHIC, 16)
    lines = ["ゲーム開始・・・・・・・・・[Shift]", "ボール発射・・・・・・・・・[左ボタン]",
             "一時停止・・・・・・・・・・[P]", "設定・・・・・・・・・・・・[S]"]
    for i, t in enumerate(lines):
        d.text((x0 + 8, y0 + 6 + 20 * i), t, font=f, fill=(255, 248, 220, 255))


def background(n):
    return Image.open(os.path.join(ROOT, "Data", "haikei%d.jpg" % n)).convert("RGBA").resize(
        (SW, SH), Image.LANCZOS)


def main():
    idiom = "四" * 16
    # title screen
    s = background(1)
    common(s, "得点挑戦", "第1問")
    draw_blocks(s, 1, idiom)
    for i in range(3):
        draw_ball(s, 8, 328 - 35 * i, "四")
    put(s, png("pad.png"), 104, 544, 64, 26)
    help_panel(s)
    put(s, png("logo.png"), 16, 488, 281, 50, fit=True)
    label(s, "[Shift]キーを押すとゲームが始まります。", 0, 344, 793, 65, 28, (240, 255, 255), (0, 0, 0))
    put(s, png("title.png"), 120, 152, 553, 162)
    s.convert("RGB").save(os.path.join(OUT, "mock_title.png"))

    # stage 2, playing
    s = background(2)
    common(s, "得点挑戦", "第14問")
    draw_blocks(s, 2, "一期一会花鳥風月温故知新以心伝心", special=(1, 2))
    draw_ball(s, 300, 260, "石")
    put(s, png("stone.png"), block_xy(1, 9)[0], 250, 28, 24)
    put(s, png("stone2.png"), block_xy(1, 12)[0], 330, 28, 24)
    put(s, png("pad.png"), 280, 544, 64, 26)
    label(s, "いっせきにちょう", 0, 416, 793, 33, 24, (0, 255, 127), (0, 0, 0))
    label(s, "石", 0, 448, 793, 49, 36, (255, 215, 0), (139, 0, 139))
    label(s, "一つのことで二つの得をすること。", 0, 496, 793, 57, 24, (0, 255, 127), (0, 0, 0))
    put(s, png("GameClear.png"), 120, 152, 553, 162)
    s.convert("RGB").save(os.path.join(OUT, "mock_stage2.png"))

    # stage 3, answer right, paddle blown up
    s = background(3)
    common(s, "得点挑戦", "第25問")
    draw_blocks(s, 3, "一期一会花鳥風月温故知新以心伝心", special=(2, 1))
    draw_ball(s, 500, 300, "鳥")
    put(s, png("stone.png"), block_xy(2, 6)[0], 300, 28, 24)
    put(s, png("Bakuhatu.png"), 688, 240, 89, 73)
    label(s, "1000点", 312, 312, 177, 49, 36, (0, 255, 255), (0, 0, 0))
    label(s, "いっせきにちょう", 0, 416, 793, 33, 24, (0, 255, 127), (0, 0, 0))
    label(s, "一つのことで二つの得をすること。", 0, 496, 793, 57, 24, (0, 255, 127), (0, 0, 0))
    put(s, png("seikai.png"), 120, 152, 553, 162)
    put(s, png("music.png"), 0, 560, 41, 41)
    put(s, png("music_stop.png"), 0, 560, 41, 41)
    s.convert("RGB").save(os.path.join(OUT, "mock_stage3.png"))


if __name__ == "__main__":
    main()
