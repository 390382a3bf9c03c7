#!/usr/bin/python3
"""Makes the codec fixtures under jpeg/, png/, pcx/, pnm/, tga/ and tiff/ with ImageMagick 6
(/usr/bin/convert) and Pillow, and each file's reference pixels as a binary PPM decoded by an
independent tool. Run from this folder: /usr/bin/python3 make_codec_fixtures.py"""
import os
import subprocess
from PIL import Image, ImageDraw

IM = "/usr/bin/convert"


def im(*args):
    subprocess.run([IM, *args], check=True)


def source(w, h, alpha=False):
    """Gradients, flat patches and a few saturated colours; odd sizes so rows are padded."""
    img = Image.new("RGBA" if alpha else "RGB", (w, h))
    for y in range(h):
        for x in range(w):
            px = (x * 255 // (w - 1), y * 255 // (h - 1), (x * 37 + y * 91) % 256)
            img.putpixel((x, y), px + ((x * 23 + y * 7) % 256,) if alpha else px)
    d = ImageDraw.Draw(img)
    d.rectangle([1, 1, w // 3, h // 3], fill=(255, 0, 0, 255) if alpha else (255, 0, 0))
    d.line([0, h - 1, w - 1, 0], fill=(0, 0, 255, 255) if alpha else (0, 0, 255))
    return img


def ref_im(path, ref):
    """Reference pixels as ImageMagick decodes them (alpha dropped, 8 bits a sample)."""
    im(path, "-alpha", "off", "-depth", "8", "-type", "TrueColor", "PPM:" + ref)


def ref_pil(path, ref):
    Image.open(path).convert("RGB").save(ref, "PPM")


def main():
    for d in ["jpeg", "png", "pcx", "pnm", "tga", "tiff"]:
        os.makedirs(d, exist_ok=True)
    small = source(13, 7)
    small.save("src.png")
    small_a = source(13, 7, alpha=True)
    small_a.save("src_a.png")
    photo = source(37, 21)
    photo.save("photo.png")
    plain = ["-define", "png:exclude-chunks=gAMA,cHRM,bKGD,date,tIME,sRGB,iCCP"]

    # JPEG
    im("photo.png", "-quality", "85", "jpeg/im_baseline.jpg")
    im("photo.png", "-quality", "85", "-interlace", "JPEG", "jpeg/im_progressive.jpg")
    im("photo.png", "-colorspace", "Gray", "-quality", "90", "jpeg/im_gray.jpg")
    im("photo.png", "-quality", "80", "-define", "jpeg:restart-interval=1", "jpeg/im_restart.jpg")
    photo.save("jpeg/pil_444.jpg", quality=95, subsampling=0)
    photo.save("jpeg/pil_420.jpg", quality=75, subsampling=2)
    photo.convert("L").save("jpeg/pil_gray.jpg", quality=90)
    im("photo.png", "-colorspace", "CMYK", "jpeg/im_cmyk.jpg")
    for n in ["im_baseline", "im_progressive", "im_gray", "im_restart", "pil_444", "pil_420",
              "pil_gray"]:
        ref_im(f"jpeg/{n}.jpg", f"jpeg/{n}.ppm")

    # PNG: every colour type and depth
    im("src.png", *plain, "-define", "png:color-type=2", "png/im_rgb8.png")
    im("src.png", *plain, "-depth", "16", "-define", "png:color-type=2", "-define",
       "png:bit-depth=16", "png/im_rgb16.png")
    im("src_a.png", *plain, "-define", "png:color-type=6", "png/im_rgba8.png")
    im("src_a.png", *plain, "-depth", "16", "-define", "png:color-type=6", "-define", "png:bit-depth=16",
       "png/im_rgba16.png")
    im("src.png", *plain, "-interlace", "PNG", "-define", "png:color-type=2",
       "png/im_rgb8_interlaced.png")
    im("src.png", *plain, "-colorspace", "Gray", "-define", "png:color-type=0",
       "-define", "png:bit-depth=8", "png/im_gray8.png")
    im("src.png", *plain, "-colorspace", "Gray", "-depth", "16", "-define", "png:color-type=0",
       "png/im_gray16.png")
    for bits in [1, 2, 4]:
        im("src.png", *plain, "-colorspace", "Gray", "-depth", str(bits), "-define",
           "png:color-type=0", "-define", f"png:bit-depth={bits}", f"png/im_gray{bits}.png")
    im("src_a.png", *plain, "-colorspace", "Gray", "-define", "png:color-type=4",
       "png/im_graya8.png")
    im("src.png", *plain, "-colors", "40", "-define", "png:color-type=3", "png/im_pal8.png")
    im("src.png", *plain, "-interlace", "PNG", "-colors", "12", "-define", "png:color-type=3",
       "png/im_pal4_interlaced.png")
    small.convert("P", palette=Image.ADAPTIVE, colors=4).save("png/pil_pal2.png", bits=2)
    small.convert("P", palette=Image.ADAPTIVE, colors=16).save("png/pil_pal4.png", bits=4)
    small.convert("P", palette=Image.ADAPTIVE, colors=2).save("png/pil_pal1.png", bits=1)
    small.convert("1").save("png/pil_bw1.png")
    small.convert("L").save("png/pil_gray8.png")
    small.convert("I").point(lambda v: v * 257).convert("I;16").save("png/pil_gray16.png")
    small_a.convert("LA").save("png/pil_graya8.png")
    small_a.save("png/pil_rgba8.png")
    small.convert("P", palette=Image.ADAPTIVE, colors=30).save("png/pil_pal8_trns.png",
                                                               transparency=3)
    im("src.png", "-define", "png:color-type=2", "png/im_gamma.png")  # with ImageMagick's gAMA 0.45455
    for f in sorted(os.listdir("png")):
        if f.endswith(".png"):
            ref_im("png/" + f, "png/" + f[:-4] + ".ppm")
    # ImageMagick rounds this file's 16-bit grays differently from its other 16-bit files:
    # the reference takes Pillow's samples, each rounded to v * 255 / 65535.
    deep = Image.open("png/im_gray16.png")
    ref = Image.new("RGB", deep.size)
    ref.putdata([((v * 255 + 32767) // 65535,) * 3 for v in deep.getdata()])
    ref.save("png/im_gray16.ppm")

    # PCX
    im("src.png", "pcx/im_rgb24.pcx")
    im("src.png", "-colors", "40", "-type", "Palette", "pcx/im_pal8.pcx")
    small.save("pcx/pil_rgb24.pcx")
    small.convert("P", palette=Image.ADAPTIVE, colors=20).save("pcx/pil_pal8.pcx")
    small.convert("L").save("pcx/pil_gray8.pcx")
    small.convert("1").save("pcx/pil_bw1.pcx")
    for f in sorted(os.listdir("pcx")):
        if f.endswith(".pcx"):
            ref_im("pcx/" + f, "pcx/" + f[:-4] + ".ppm")
    # ImageMagick shows Pillow's 1-bit file inverted (it takes the header palette, which Pillow
    # fills with black); Pillow reads bit 1 as white, as the format does.
    ref_pil("pcx/pil_bw1.pcx", "pcx/pil_bw1.ppm")

    # Netpbm: ASCII and binary, 8- and 16-bit samples, a comment
    im("src.png", "-compress", "none", "pnm/im_p3.ppm")
    im("src.png", "-compress", "none", "-colorspace", "Gray", "pnm/im_p2.pgm")
    im("src.png", "-compress", "none", "-monochrome", "pnm/im_p1.pbm")
    im("src.png", "-depth", "16", "pnm/im_p6_16.ppm")
    im("src.png", "-depth", "16", "-colorspace", "Gray", "pnm/im_p5_16.pgm")
    im("src.png", "-compress", "none", "-depth", "16", "pnm/im_p3_16.ppm")
    small.save("pnm/pil_p6.ppm")
    small.convert("L").save("pnm/pil_p5.pgm")
    small.convert("1").save("pnm/pil_p4.pbm")
    with open("pnm/im_p2.pgm", "rb") as f:
        text = f.read()
    with open("pnm/comment_p2.pgm", "wb") as f:
        f.write(text.replace(b"P2\n", b"P2\n# made by hand\n", 1).replace(b"\n", b" # row\n", 3))
    im("src.png", "-depth", "4", "pnm/im_p6_15.ppm")  # maxval 15
    for f in sorted(os.listdir("pnm")):
        if not f.endswith(".ref.ppm") and f[-4:] in (".ppm", ".pgm", ".pbm"):
            ref_im("pnm/" + f, "pnm/" + f[:-4] + ".ref.ppm")

    # Targa: Pillow's files (ImageMagick 6.9.11 writes and reads Targa rows in the wrong order)
    small.save("tga/pil_rgb24.tga")
    small_a.save("tga/pil_rgba32.tga")
    small.convert("L").save("tga/pil_gray8.tga")
    small.convert("P", palette=Image.ADAPTIVE, colors=40).save("tga/pil_pal8.tga")
    small.save("tga/pil_rgb24_rle.tga", compression="tga_rle")
    small_a.save("tga/pil_rgba32_rle.tga", compression="tga_rle")
    small.convert("L").save("tga/pil_gray8_rle.tga", compression="tga_rle")
    small.convert("P", palette=Image.ADAPTIVE, colors=40).save("tga/pil_pal8_rle.tga",
                                                               compression="tga_rle")
    small.save("tga/pil_rgb24_topleft.tga", orientation=1)
    for f in sorted(os.listdir("tga")):
        if f.endswith(".tga"):
            ref_pil("tga/" + f, "tga/" + f[:-4] + ".ppm")

    # TIFF
    im("src.png", "-compress", "none", "tiff/im_rgb24.tif")
    im("src.png", "-compress", "RLE", "tiff/im_rgb24_packbits.tif")
    im("src.png", "-compress", "none", "-define", "tiff:endian=msb", "tiff/im_rgb24_mm.tif")
    im("src.png", "-compress", "RLE", "-define", "tiff:endian=msb", "-colors", "40", "-type", "Palette",
       "tiff/im_pal8_mm_packbits.tif")
    im("src.png", "-compress", "none", "-colors", "40", "-type", "Palette", "tiff/im_pal8.tif")
    im("src.png", "-compress", "none", "-colors", "12", "-type", "Palette", "-depth", "4",
       "tiff/im_pal4.tif")
    im("src.png", "-compress", "none", "-colorspace", "Gray", "tiff/im_gray8.tif")
    im("src.png", "-compress", "none", "-colorspace", "Gray", "-depth", "4", "tiff/im_gray4.tif")
    im("src.png", "-compress", "none", "-type", "Bilevel", "-depth", "1", "tiff/im_bw1.tif")
    im("src.png", "-compress", "RLE", "-type", "Bilevel", "-depth", "1",
       "tiff/im_bw1_packbits.tif")
    im("src.png", "-compress", "none", "-type", "Bilevel", "-depth", "1", "-define",
       "quantum:polarity=min-is-white",
       "tiff/im_bw1_miniswhite.tif")
    im("src_a.png", "-compress", "none", "tiff/im_rgba.tif")
    im("src.png", "-compress", "LZW", "tiff/im_lzw.tif")
    small.save("tiff/pil_rgb24.tif")
    small.save("tiff/pil_rgb24_packbits.tif", compression="packbits")
    small.convert("L").save("tiff/pil_gray8.tif")
    small.convert("1").save("tiff/pil_bw1.tif")
    small.convert("P", palette=Image.ADAPTIVE, colors=40).save("tiff/pil_pal8.tif")
    for f in sorted(os.listdir("tiff")):
        if f.endswith(".tif") and f != "im_lzw.tif":
            # ImageMagick scales 16-bit colour map entries down by 255/65535, one level short
            # for many; Pillow takes each entry's high byte, the level written.
            ref = ref_pil if "_pal" in f else ref_im
            ref("tiff/" + f, "tiff/" + f[:-4] + ".ppm")

    for f in ["src.png", "src_a.png", "photo.png"]:
        os.remove(f)


main()
