#!/usr/bin/python3
"""Prints how many colours a PNG picture holds: a drawn station has hundreds, a blank window one."""
import sys

from PIL import Image

with Image.open(sys.argv[1]) as picture:
    print(len(picture.convert("RGB").getcolors(1 << 24)))
