#!/usr/bin/python3
"""Writes the manual page of a command-line program from its own --help texts.

The help texts are the programs' documentation; the manual page is made from them at build
time, so the two never disagree. The page holds NAME (from --summary), SYNOPSIS (the usage
lines of `PROGRAM --help`), DESCRIPTION (the rest of that text), with --commands one
subsection per subcommand listed under "Commands:" (its `PROGRAM COMMAND --help`), and then
the sections of the --sections file, written by hand in man(7) markup (FILES, SEE ALSO...).

The programs write code page 1252; other characters than ASCII become groff's \\[uXXXX].

Usage: tools/make_man_page.py --program PATH --name NAME --summary TEXT [--commands]
                              [--sections FILE] [--version TEXT] OUT
"""

import argparse
import re
import subprocess
import sys


def help_text(program, *args):
    result = subprocess.run([program, *args, "--help"], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, check=False)
    if result.returncode != 0:
        sys.exit("%s %s --help: exit status %d" % (program, " ".join(args), result.returncode))
    return result.stdout.decode("cp1252")


def escape(line):
    """A line of text as groff reads it literally (in no-fill mode)."""
    out = []
    for ch in line.replace("\\", "\\e"):
        if ch == "-":
            out.append("\\-")
        elif ord(ch) > 127:
            out.append("\\[u%04X]" % ord(ch))
        else:
            out.append(ch)
    text = "".join(out)
    # A line starting with a dot or an apostrophe would be a request.
    return "\\&" + text if text.startswith((".", "'")) else text


def preformatted(lines):
    body = [escape(line) for line in lines]
    while body and not body[-1].strip():
        body.pop()
    while body and not body[0].strip():
        body.pop(0)
    return [".nf"] + body + [".fi"] if body else []


def split_usage(text):
    """The usage block (up to the first blank line, "Usage: " removed) and the rest."""
    lines = text.rstrip("\n").split("\n")
    usage = []
    while lines and lines[0].strip():
        line = lines.pop(0)
        usage.append(re.sub(r"^Usage:\s*", "", line).strip())
    return usage, lines


def commands_of(text):
    names = []
    listing = False
    for line in text.split("\n"):
        if line.strip() == "Commands:":
            listing = True
            continue
        if listing:
            match = re.match(r"^  (\S+)\s", line)
            if not match:
                break
            names.append(match.group(1))
    return names


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--name", required=True)
    parser.add_argument("--summary", required=True)
    parser.add_argument("--commands", action="store_true")
    parser.add_argument("--sections")
    parser.add_argument("--version", default="")
    parser.add_argument("out")
    args = parser.parse_args()

    main_help = help_text(args.program)
    usage, rest = split_usage(main_help)
    page = [
        '.TH "%s" 1 "" "%s" "User Commands"' % (args.name.upper(), args.version),
        ".SH NAME",
        "%s \\- %s" % (escape(args.name), escape(args.summary)),
        ".SH SYNOPSIS",
    ]
    page += preformatted(usage)
    page += [".SH DESCRIPTION"] + preformatted(rest)
    if args.commands:
        names = commands_of(main_help)
        if not names:
            sys.exit("%s --help lists no commands" % args.program)
        page.append(".SH COMMANDS")
        for name in names:
            page += [".SS " + escape(name)] + preformatted(help_text(args.program, name).split("\n"))
    if args.sections:
        with open(args.sections, encoding="utf-8") as f:
            page += f.read().rstrip("\n").split("\n")
    with open(args.out, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(page) + "\n")


if __name__ == "__main__":
    main()
