#!/usr/bin/python3
"""Writes the kaleidoscope's default photographs into res/images/kaleidoscope_default.

The photographs are sample data of Debian's python3-skimage package, each public domain or
CC0 as its data folder states (skimage/data/_fetchers.py); CREDITS beside the output names
them. Only colour photographs are taken: the kaleidoscope shows RGB and RGBA images only.
The long side is capped at 1024 pixels and JPEG quality 85 keeps the repository light.

Needs python3-skimage and python3-pil for this one run; the library reads the JPEGs.

    /usr/bin/python3 tools/make_kaleidoscope_images.py [output directory]
"""

import os
import sys

from PIL import Image
import skimage
import skimage.data

# name in skimage.data -> output file name, and the share of the picture kept around its centre
PHOTOGRAPHS = [
    ("astronaut", "astronaut.jpg", 1.0),
    ("chelsea", "chelsea.jpg", 1.0),
    ("coffee", "coffee.jpg", 1.0),
    ("rocket", "rocket.jpg", 1.0),
    ("hubble_deep_field", "hubble_deep_field.jpg", 1.0),
    # The fundus is a disc on black; folded whole it shows mostly black wedges. The square
    # inside the disc keeps the vessels.
    ("retina", "retina.jpg", 0.68),
]

LONG_SIDE_MAX = 1024
QUALITY = 85


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        root, "res", "images", "kaleidoscope_default")
    os.makedirs(out_dir, exist_ok=True)
    print("skimage %s, data in %s" % (skimage.__version__, skimage.data.data_dir))
    for name, file_name, keep in PHOTOGRAPHS:
        image = Image.fromarray(getattr(skimage.data, name)()).convert("RGB")
        if keep < 1.0:
            w, h = image.size
            cw, ch = round(w * keep), round(h * keep)
            image = image.crop(((w - cw) // 2, (h - ch) // 2, (w - cw) // 2 + cw,
                                (h - ch) // 2 + ch))
        scale = LONG_SIDE_MAX / max(image.size)
        if scale < 1.0:
            size = (round(image.size[0] * scale), round(image.size[1] * scale))
            image = image.resize(size, Image.LANCZOS)
        path = os.path.join(out_dir, file_name)
        image.save(path, "JPEG", quality=QUALITY, optimize=True)
        print("%s: %dx%d, %d bytes" % (path, image.size[0], image.size[1],
                                        os.path.getsize(path)))


if __name__ == "__main__":
    main()
