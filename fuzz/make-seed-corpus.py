#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora and dictionary from the sample boards in examples/.

Run from anywhere; needs ImageMagick's convert. The results are kept in the tree
(fuzz/corpus/, fuzz/layout.dict), so the fuzz runs need neither Python nor ImageMagick.
"""
import io
import pathlib
import re
import shutil
import subprocess
import tempfile
import zipfile

HERE = pathlib.Path(__file__).resolve().parent
SAMPLES = HERE.parent / "examples"
CORPUS = HERE / "corpus"


def unscramble(stored: bytes) -> str:
    text = stored.decode("utf-16-le")
    return "".join(chr((ord(c) - 1) % 0x10000) for c in reversed(text))


def scramble(text: str) -> bytes:
    text = text.replace("~", "")
    return "".join(chr((ord(c) + 1) % 0x10000) for c in reversed(text)).encode("utf-16-le")


def trimmed(document: str, strips: int) -> str:
    """The document with only its first strips (the grid counts cut to match)."""
    pieces = re.findall(r"<Strip\d+-\d+>.*?</Strip\d+-\d+>", document)
    head = document[: document.index("<StripsData>") + len("<StripsData>")]
    head = re.sub(r"<NumberOfColumns>\d+<", "<NumberOfColumns>1<", head)
    head = re.sub(r"<NumberOfRows>\d+<", f"<NumberOfRows>{strips}<", head)
    return head + "".join(pieces[:strips]) + "</StripsData></MenuData>"


def convert(source: pathlib.Path, target: pathlib.Path, *options: str) -> None:
    subprocess.run(["convert", str(source), *options, str(target)], check=True)


def main() -> None:
    shutil.rmtree(CORPUS, ignore_errors=True)
    for name in ("document_reader", "package_open", "image_decoding"):
        (CORPUS / name).mkdir(parents=True)
    work = pathlib.Path(tempfile.mkdtemp())
    tags = set()
    try:
        for package in sorted(SAMPLES.glob("*_LAYOUT.MARBIX")):
            base = package.name.split("_")[0]
            with zipfile.ZipFile(package) as archive:
                archive.extractall(work / base)
            folder = work / base
            document = unscramble((folder / "Layout.XMARBIX").read_bytes())
            tags.update(re.findall(r"</?[A-Za-z][A-Za-z0-9-]*>", document))
            small = trimmed(document, 3)
            (CORPUS / "document_reader" / f"{base}-stored").write_bytes(scramble(small))
            (CORPUS / "document_reader" / f"{base}-plain").write_bytes(small.encode("utf-16-le"))

            # A small package: the trimmed document, a shrunken background and pictures, the
            # font list (the fonts themselves are too large to fuzz with).
            pictures = [p for p in folder.iterdir() if p.suffix in (".jpg", ".png") and p.name != "Background.jpg"]
            convert(folder / "Background.jpg", work / "bg.jpg", "-resize", "48x27!", "-quality", "50")
            buffer = io.BytesIO()
            with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
                archive.write(work / "bg.jpg", "Background.jpg")
                archive.writestr("Layout.XMARBIX", scramble(small))
                for picture in sorted(pictures)[:1]:
                    convert(picture, work / ("p" + picture.suffix), "-resize", "12x12!")
                    archive.write(work / ("p" + picture.suffix), picture.name)
                archive.write(folder / "FontFileNames.txt", "FontFileNames.txt")
            (CORPUS / "package_open" / f"{base}_LAYOUT.MARBIX").write_bytes(buffer.getvalue())

        # Pictures in every format the program takes, made from the first sample's pictures.
        folder = work / sorted(p.name.split("_")[0] for p in SAMPLES.glob("*_LAYOUT.MARBIX"))[0]
        photo = sorted(folder.glob("*.jpg"))[0]
        logo = sorted(folder.glob("*.png"))[0]
        for suffix, options in ((".jpg", ["-quality", "60"]), (".png", []), (".gif", []), (".bmp", []),
                                (".tif", ["-compress", "lzw"])):
            convert(photo, CORPUS / "image_decoding" / f"photo{suffix}", "-resize", "16x12!", *options)
        convert(logo, CORPUS / "image_decoding" / "logo.png", "-resize", "8x8!")
        convert(photo, CORPUS / "image_decoding" / "rotated.jpg", "-resize", "12x16!", "-orient", "right-top",
                "-density", "300", "-units", "PixelsPerInch")
        convert(photo, CORPUS / "image_decoding" / "progressive.jpg", "-resize", "16x9!", "-interlace", "JPEG")
    finally:
        shutil.rmtree(work, ignore_errors=True)

    # The dictionary: every tag of the samples as the document file holds it, plain and
    # scrambled (UTF-16LE), the values with a meaning, and the package's names and zip headers.
    def entry(data: bytes) -> str:
        return '"' + "".join(f"\\x{b:02x}" for b in data) + '"'

    words = sorted(tags) + ["Yes", "No", "Center", "Right", "Left", "^", "\\", "\r\n", ",", "0,0,1", "255,255,255",
                            "-0.000", "1e308", "<SubImageCropPercentage>", "</SubImageCropPercentage>",
                            "<Strip8-200>", "</Strip8-200>"]
    lines = ["# Tags and values of the layout document (UTF-16LE, plain and scrambled) and the",
             "# names and headers of a layout package. Made by make-seed-corpus.py."]
    for word in words:
        lines.append(entry(word.encode("utf-16-le")))
        lines.append(entry(scramble(word)))
    for name in ("Layout.XMARBIX", "Background.jpg", "FontFileNames.txt", "Fuzz_LAYOUT.MARBIX", "_SupportFiles"):
        lines.append(entry(name.encode("ascii")))
    for header in (b"PK\x03\x04", b"PK\x01\x02", b"PK\x05\x06", b"PK\x06\x06", b"PK\x06\x07", b"\xff\xd8\xff",
                   b"\xff\xd9", b"\x89PNG\r\n\x1a\n", b"GIF89a", b"BM", b"II*\x00", b"MM\x00*", b"Exif\x00\x00"):
        lines.append(entry(header))
    (HERE / "layout.dict").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
