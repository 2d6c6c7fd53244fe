#!/usr/bin/env python3
"""Builds the sample distribution of instello from the plain files in tools/distribution/files
and the workbench's Braille font in data/fonts.

With --windows BIN it builds the real Windows distribution from the cross-built programs in
BIN (tattilo.exe, tattilo-cli.exe, instello.exe, made by `make windows`, each without its debug
information, which stays in BIN): INSTELLO.EXE, INSTELLO.INI, INSTALL.CFG,
license.txt, PROGRAM.QKP and the package volumes PROGRAM.001 and PROGRAM.002 holding the
workbench tattilo.exe, tattilo-cli.exe, the filter file, the help pages, the first settings
(tattilo-iniziale.ini), the sample documents and the Braille font. The Start Menu gets the
workbench, the command line program and the guide.

With --tex it builds the TeX-system variant instead (into data/distribution-tex by default): a
"Korvo" product whose component programs exercise every TeX configuration step: KORVO.INI,
the font library from real .tfm files, raster fonts made by METAFONT, Type 1 alias lines (one
left pending), the TrueType alias file, hyphenation, the formats and the installer copy. Its
fonts come from tests/data/installer/tex and data/fonts.

Writes into data/distribution (or the folder given as the first argument):
  INSTELLO.INI            the install script
  INSTALL.CFG             the component list
  license.txt             the licence shown before installing
  *.QKP                   one component program per component
  PROGRAM.001, .002 ...   package volumes (the PROGRAM package is split over two volumes)

The output depends only on the input files: dates are fixed, compression is deterministic.
Only the Python standard library is used.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
FILES = os.path.join(HERE, "distribution", "files")
ROOT = os.path.dirname(HERE)

CLUSTERS = (512, 1024, 2048, 4096, 8192, 16384, 32768)


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp1252")


def plain(name):
    with open(os.path.join(FILES, name), "rb") as f:
        return f.read()


def exercises():
    """A long text of column-arithmetic exercises, so the package spans several 64 KiB chunks."""
    lines = []
    a, b = 12345, 678
    for i in range(9000):
        a = (a * 1103515245 + 12345) % 100000
        b = (b * 69069 + 1) % 1000
        op = "+-*:"[i % 4]
        lines.append("Esercizio %d: %d %s %d =" % (i + 1, a, op, b + 1))
    return crlf("\n".join(lines) + "\n")


def cells():
    """The 64 six-dot patterns, one byte each, followed by their dot lists: a binary member."""
    out = bytearray(range(64))
    for pattern in range(64):
        dots = [d + 1 for d in range(6) if pattern & (1 << d)]
        out += bytes([len(dots)] + dots)
    return bytes(out)


def icon():
    """A 16 x 16 icon (32-bit colour): a white Braille cell with dots 1, 2 and 4 on blue."""
    size = 16
    pixels = bytearray()
    for row in range(size):  # bottom-up, as bitmaps are stored
        y = size - 1 - row
        for x in range(size):
            dot = any(abs(x - cx) <= 1 and abs(y - cy) <= 1
                      for cx, cy in ((5, 3), (5, 8), (10, 3)))
            pixels += bytes([255, 255, 255, 255]) if dot else bytes([160, 60, 20, 255])
    mask = bytes(4 * size)  # every pixel opaque (rows of 32 bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + bytes(pixels) + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + image


def dos_time(year, month, day, hour, minute, second):
    date = ((year - 1980) << 9) | (month << 5) | day
    time = (hour << 11) | (minute << 5) | (second // 2)
    return date, time


def string(text):
    data = text.encode("cp1252")
    assert len(data) < 256
    return bytes([len(data)]) + data


def member(stored_name, data, when, method=8):
    if method == 8:
        c = zlib.compressobj(9, zlib.DEFLATED, -15, 9)
        packed = c.compress(data) + c.flush()
    else:
        packed = data
    date, time = dos_time(*when)
    name = stored_name.encode("cp1252")
    header = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, method, time, date,
                         zlib.crc32(data) & 0xFFFFFFFF, len(packed), len(data), len(name), 0)
    return b"V" + header + name + packed


def folder(name):
    return b">" + string(name)


def skip(kind, text):
    data = text.encode("cp1252")
    return kind + bytes([len(data)]) + data


def clusters_of(sizes):
    return ":".join(str(sum((s + c - 1) // c for s in sizes)) for c in CLUSTERS)


def program(*operations):
    return b"QKIP" + b"".join(operations) + bytes([255])


def op(code, *strings):
    return bytes([code]) + b"".join(string(s) for s in strings)


def write(out, name, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)


def repo_file(*parts):
    with open(os.path.join(ROOT, *parts), "rb") as f:
        return f.read()


def font_library(fonts):
    """TFM.LIB: header, a sorted directory of (name, offset, length), then the data."""
    names = sorted(fonts)
    head = b"TFM\x04LIB\x1A@@@@@\0" + struct.pack("<H", len(names))
    offset = (len(names) + 1) * 16
    directory = b""
    for name in names:
        directory += name.encode("ascii").ljust(8, b"\0") + struct.pack("<II", offset, len(fonts[name]))
        offset += len(fonts[name])
    return head + directory + b"".join(fonts[n] for n in names)


def tex_distribution(out):
    when = (2026, 3, 2, 9, 30, 0)
    tex_data = ("tests", "data", "installer", "tex")
    # The library ships with three fonts; two more metric files are merged into it at the end.
    shipped = {m: repo_file(*tex_data, "tfm", m + ".tfm") for m in ["cmr10", "cmbx10", "cmmi10"]}
    metrics = ["cmsy10", "cmex10"]
    # Programs and libraries of the TeX system are played by stand-ins in the sandbox; these
    # files only need to be where the real ones would be.
    standin = lambda what: crlf("Stands for %s in the sample distribution.\n" % what)
    stream = [folder("BIN"), member("TFM.LIB", font_library(shipped), when)]
    stream += [member(m + ".tfm", repo_file(*tex_data, "tfm", m + ".tfm"), when) for m in metrics]
    stream += [
        member("korvowh.exe", standin("the format builder"), when),
        member("KORVOTTF.DLL", standin("the TrueType alias library"), when),
        folder("SRC"),
        member("korvo.tex", crlf("% Korvo format\n\\input plain\n\\dump\n"), when),
        member("ithyph.pat", crlf("% Italian hyphenation patterns\n.a3p2n\n"), when),
        folder("L2E"),
        member("latex.tex", crlf("% LaTeX 2e format\n\\input latex.ltx\n"), when),
        folder("PFB"),
        member("cmr10.pfb", standin("the Type 1 font cmr10"), when),
        member("cmbx10.pfb", standin("the Type 1 font cmbx10"), when),
        folder("PFM"),
        member("cmr10.pfm", standin("the metrics of cmr10"), when),
        b"Q",
    ]
    write(out, "TEX.001", b"".join(stream))
    raster = ("tests", "data", "installer", "tex", "raster")
    write(out, "FONTS.001", b"".join([
        folder("FONTS"),
        member("tbraille.300gf", repo_file(*raster, "tbraille.300gf"), when),
        member("tbraille.tfm", repo_file(*raster, "tbraille.tfm"), when),
        folder("FONTS\\DPI329"),
        member("tbraille.329pk", repo_file(*raster, "tbraille.329pk"), when),
        folder("FONTS\\DPI600"),
        member("tbraille.600pk", repo_file(*raster, "tbraille.600pk"), when),
        member("cmr10.600pk", repo_file(*raster, "tbraille.600pk"), when),
        folder("TTF"),
        member("braille.ttf", repo_file("data", "fonts", "braillecour.ttf"), when),
    ]))
    write(out, "TEX.QKP", program(
        op(73, "TEX"),
        op(206),
        op(211, "MACRO"),
        op(217, "FontSet", "Braille", "BR,br"),
        op(233, "FINCLUDE", "LATEX", "!MACRO\\"),
        op(84),
        op(232),
        op(231, "@Times-Roman=cmr10 %KORVO,"),
        op(230, "@Times-Bold=cmbx10 %KORVO,"),
        op(231, "@Courier=pcrr %KORVO,"),
        op(231, "@Symbol=b=\"psyr\" %AR,"),
    ))
    write(out, "FONTS.QKP", program(op(73, "FONTS"), op(212), op(207)))
    write(out, "HYPSET.DLL", standin("the hyphenation library"))
    write(out, "INSTALL.CFG", crlf("\n".join([
        "Sistema ; Sistema TeX ; TEX.QKP ; 64:32:16:8:4:2:1 ; Il sistema TeX, i formati e le metriche.",
        "Caratteri ; Caratteri ; FONTS.QKP ; 16:8:4:2:1:1:1 ; I caratteri raster e TrueType.",
        "",
    ])))
    write(out, "INSTELLO.INI", crlf("\n".join([
        "[AppInfo]",
        "AppName=Korvo",
        "Version=4.0",
        "",
        "[StartUp]",
        "License=0",
        "",
        "[Finish]",
        "CopyInstaller=1",
        "CreateFormats=1",
        "Restart=0",
        "",
    ])))


def pe_machine(path):
    """The processor a Windows program is built for, as MinGW names it: i686 or x86_64."""
    with open(path, "rb") as f:
        head = f.read(4096)
    pe = struct.unpack_from("<I", head, 0x3C)[0]
    if head[pe:pe + 4] != b"PE\0\0":
        raise SystemExit("make_distribution: %s is no Windows program" % path)
    machine = struct.unpack_from("<H", head, pe + 4)[0]
    return {0x14C: "i686", 0x8664: "x86_64"}.get(machine) or sys.exit(
        "make_distribution: %s is built for machine 0x%x" % (path, machine))


def built_program(bin_dir, name):
    """A cross-built program as it ships: without its debug information, which stays in the
    build tree's copy (BIN) for reading crash reports."""
    path = os.path.join(bin_dir, name)
    tool = "%s-w64-mingw32-strip" % pe_machine(path)
    strip = shutil.which(tool)
    if strip is None:
        sys.exit("make_distribution: no %s (binutils-mingw-w64): %s would ship with its debug "
                 "information" % (tool, name))
    with tempfile.TemporaryDirectory() as scratch:
        stripped = os.path.join(scratch, name)
        subprocess.run([strip, "--strip-debug", "-o", stripped, path], check=True)
        with open(stripped, "rb") as f:
            return f.read()


def windows_distribution(out, bin_dir):
    """The workbench and its command-line program for a real Windows machine, in two volumes."""
    when = (2026, 3, 2, 9, 30, 0)

    workbench = built_program(bin_dir, "tattilo.exe")
    cli = built_program(bin_dir, "tattilo-cli.exe")
    data = {name: repo_file("data", name)
            for name in ("filtro.base", "help.htm", "tastnum.htm", "tattilo-iniziale.ini")}
    samples = {name: repo_file("data", "esempi", name)
               for name in sorted(os.listdir(os.path.join(ROOT, "data", "esempi")))}
    font = repo_file("data", "fonts", "braillecour.ttf")
    license_text = plain("license.txt")
    stream = b"".join([
        skip(b"M", "Tattilo 1.1 per Windows"),
        folder("BIN"),
        member("tattilo.exe", workbench, when),
        member("tattilo-cli.exe", cli, when),
    ] + [member(name, content, when) for name, content in data.items()] + [
        folder("BIN\\fonts"),
        member("braillecour.ttf", font, when),
        folder("BIN\\esempi"),
    ] + [member(name, content, when) for name, content in samples.items()] + [
        b"Q",
    ])
    cut = len(stream) // 2
    write(out, "PROGRAM.001", stream[:cut])
    write(out, "PROGRAM.002", stream[cut:])
    uninstall = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tattilo"
    write(out, "PROGRAM.QKP", program(
        op(73, "PROGRAM"),
        op(3, "license.txt", "DOC\\"),
        op(202, "Tattilo"),
        op(203, "BIN\\tattilo.exe", "Tattilo", ""),
        op(203, "BIN\\tattilo-cli.exe", "Tattilo da riga di comando", ""),
        op(203, "BIN\\help.htm", "Guida di Tattilo", ""),
        op(220, "Braillecour (TrueType)", "!BIN\\fonts\\braillecour"),
        op(236, uninstall, "DisplayName", "string", "Tattilo 1.1"),
        op(236, uninstall, "DisplayVersion", "string", "1.1"),
        op(236, uninstall, "Publisher", "string", "Quillon"),
        op(236, uninstall, "NoModify", "number", "1"),
    ))
    write(out, "INSTALL.CFG", crlf("\n".join([
        "Programma ; Programma Tattilo ; PROGRAM.QKP ; %s ; Tattilo, tattilo-cli, il filtro, la guida, gli esempi e il carattere Braille."
        % clusters_of([len(workbench), len(cli), len(font), len(license_text)]
                      + [len(d) for d in data.values()] + [len(d) for d in samples.values()]),
        "",
    ])))
    write(out, "INSTELLO.INI", crlf("\n".join([
        "[AppInfo]",
        "AppName=Tattilo",
        "Version=1.1",
        "",
        "[StartUp]",
        "License=1",
        "DeletePrev=0",
        "",
        "[Finish]",
        "CopyInstaller=0",
        "Restart=0",
        "",
    ])))
    write(out, "license.txt", license_text)
    write(out, "INSTELLO.EXE", built_program(bin_dir, "instello.exe"))


def main():
    args = sys.argv[1:]
    if args[:1] == ["--windows"]:
        if len(args) not in (2, 3):
            sys.exit("usage: make_distribution.py --windows BIN [OUT]")
        out = args[2] if len(args) == 3 else os.path.join(args[1], "distribution")
        os.makedirs(out, exist_ok=True)
        for old in os.listdir(out):
            os.remove(os.path.join(out, old))
        windows_distribution(out, args[1])
        return
    tex = "--tex" in args
    args = [a for a in args if a != "--tex"]
    default = "distribution-tex" if tex else "distribution"
    out = args[0] if args else os.path.join(ROOT, "data", default)
    os.makedirs(out, exist_ok=True)
    for old in os.listdir(out):
        os.remove(os.path.join(out, old))
    if tex:
        tex_distribution(out)
        return

    when = (2026, 3, 2, 9, 30, 0)
    later = (2026, 3, 2, 9, 31, 4)

    leggimi = plain("leggimi.txt")
    guida = plain("guida.htm")
    deutsch = plain("deutsch.ini")
    frazioni = plain("frazioni.txt")
    license_text = plain("license.txt")
    esercizi = exercises()
    celle = cells()
    ico = icon()
    with open(os.path.join(ROOT, "data", "fonts", "braillecour.ttf"), "rb") as f:
        font = f.read()

    # The program package, split over two volumes.
    stream = b"".join([
        skip(b"M", "Tattilo 1.1, pacchetto del programma"),
        folder("BIN"),
        member("celle.bin", celle, when),
        member("readme.txt=leggimi.txt", leggimi, later),
        member("tattilo.ico", ico, when),
        bytes([0x1A]),
        folder("WINDOWS"),
        member("Fonts\\braillecour.ttf", font, when),
        folder("ESERCIZI"),
        member("esercizi.txt", esercizi, when),
        skip(b"T", "fine"),
        b"Q",
    ])
    cut = len(stream) // 2
    write(out, "PROGRAM.001", stream[:cut])
    write(out, "PROGRAM.002", stream[cut:])
    write(out, "GUIDA.001", folder("GUIDA") + member("guida.htm", guida, when, method=0))
    write(out, "ESEMPI.001", folder("ESEMPI") + member("frazioni.txt", frazioni, later))
    write(out, "DEUTSCH.001", folder("BIN") + member("deutsch.ini", deutsch, when))

    write(out, "PROGRAM.QKP", program(
        op(73, "PROGRAM"),
        op(3, "license.txt", "DOC\\"),
        op(206),
        op(217, "Percorsi", "Programma", "!BIN\\"),
        op(217, "Percorsi", "Esercizi", "!ESERCIZI\\"),
        op(233, "Percorsi", "Documenti", "!ESEMPI\\"),
        op(217, "Voce", "Velocita", "50"),
        op(202, "Tattilo"),
        op(203, "ESERCIZI\\esercizi.txt", "Esercizi", "BIN\\tattilo.ico"),
        op(203, "BIN\\leggimi.txt", "Leggimi", "BIN\\tattilo.ico"),
        op(220, "Braillecour (TrueType)", "braillecour"),
        op(236, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Tattilo", "Lingua", "string", "it"),
        op(236, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Tattilo", "Velocita", "number", "50"),
        op(236, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Tattilo", "Colori", "hex", "00ff80"),
        op(236, "HKEY_CURRENT_USER\\Software\\Quillon\\Tattilo", "PrimoAvvio", "bin", ""),
        op(209, "Tattilo 1.1"),
    ))
    write(out, "GUIDA.QKP", program(op(73, "GUIDA"), op(204)))
    write(out, "ESEMPI.QKP", program(op(73, "ESEMPI"), op(233, "Percorsi", "Documenti", "!ESEMPI\\")))
    write(out, "DEUTSCH.QKP", program(op(73, "DEUTSCH"), op(217, "Lingua", "Interfaccia", "de")))

    component_list = "\n".join([
        "Programma ; Programma Tattilo ; PROGRAM.QKP ; %s ; Il programma, le celle Braille e gli esercizi."
        % clusters_of([len(celle), len(leggimi), len(ico), len(font), len(esercizi),
                       len(license_text)]),
        "Documentazione ; POPUP ; La guida e i documenti di esempio.",
        "Guida ; Guida ; GUIDA.QKP ; %s ; La guida del programma." % clusters_of([len(guida)]),
        "-Esempi ; Esempi ; ESEMPI.QKP ; %s ; Documenti di esempio." % clusters_of([len(frazioni)]),
        "fine documentazione ; POPDOWN",
        "1031Deutsch ; Deutsch ; DEUTSCH.QKP ; %s ; Deutsche Benutzeroberflaeche."
        % clusters_of([len(deutsch)]),
        "-Extra ; Disco 2 ; DISCO2\\EXTRA.QKP ; 8:4:2:1:1:1:1 ; Materiali aggiuntivi sul secondo disco.",
        "",
    ])
    write(out, "INSTALL.CFG", crlf(component_list))
    write(out, "INSTELLO.INI", crlf("\n".join([
        "[AppInfo]",
        "AppName=Tattilo",
        "Version=1.1",
        "",
        "[StartUp]",
        "License=1",
        "DeletePrev=0",
        "",
        "[Finish]",
        "CopyInstaller=0",
        "Restart=1",
        "",
    ])))
    write(out, "license.txt", license_text)


if __name__ == "__main__":
    main()
