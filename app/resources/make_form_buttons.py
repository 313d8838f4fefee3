#!/usr/bin/env python3
"""Draws the pictures of the keyboard window's title buttons as a 12 x 12
strip, il_form_btns.bmp (32-bit with alpha): 0 close, 1 the pin of a window
that stays shown, 2 the pin of a window that hides by itself. Uses the
drawing of make_image_lists.py. Run from this folder; the bitmap is
committed, so the build does not need Python."""
import make_image_lists as lists
from make_image_lists import circle, segment

DARK = (40, 45, 55)


def close(u, v):
    return DARK if segment(u, v, (0.22, 0.22), (0.78, 0.78), 0.16) or \
        segment(u, v, (0.78, 0.22), (0.22, 0.78), 0.16) else None


def pin_sideways(u, v):
    """The pin lying down: the window stays."""
    head = circle(u, v, 0.72, 0.5, 0.2)
    needle = segment(u, v, (0.12, 0.5), (0.6, 0.5), 0.1)
    return DARK if head or needle else None


def pin_in(u, v):
    """The pin stuck in: the window hides by itself."""
    head = circle(u, v, 0.5, 0.3, 0.2)
    needle = segment(u, v, (0.5, 0.4), (0.5, 0.9), 0.1)
    return DARK if head or needle else None


def main():
    lists.SIZE = 12
    lists.write_strip('il_form_btns.bmp', {0: close, 1: pin_sideways, 2: pin_in}, 3)


if __name__ == '__main__':
    main()
