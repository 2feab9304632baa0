#!/usr/bin/env python3
"""Writes the manual page of pachka from its own help texts, so that the page
says what the binary does.

    gen-man.py PACHKA OUT.1 VERSION
"""
import re
import subprocess
import sys


def help_text(pachka, *args):
    out = subprocess.run([pachka, *args, "--help"], capture_output=True, text=True, check=True)
    # The usage line names the binary by the path it was run with.
    return out.stdout.replace(pachka, "pachka")


def roff(text):
    lines = []
    for line in text.rstrip("\n").split("\n"):
        line = line.replace("\\", "\\e")
        if line.startswith((".", "'")):
            line = "\\&" + line
        lines.append(line)
    return "\n".join(lines)


def subcommands(top_help):
    names, inside = [], False
    for line in top_help.split("\n"):
        if line.startswith("Subcommands:"):
            inside = True
            continue
        if inside:
            m = re.match(r"^  (\S+)\s", line)
            if m:
                names.append(m.group(1))
            elif line.strip() == "":
                break
    return names


def main():
    pachka, out, version = sys.argv[1], sys.argv[2], sys.argv[3]
    top = help_text(pachka)
    parts = [
        f'.TH PACHKA 1 "" "pachkaview {version}" "User Commands"',
        ".SH NAME",
        "pachka \\- the pachkaview engine without a screen",
        ".SH SYNOPSIS",
        ".B pachka",
        "\\fISUBCOMMAND\\fR [\\fIOPTIONS\\fR] [\\fIFILE\\fR]",
        ".SH DESCRIPTION",
        ".nf",
        roff(top),
        ".fi",
    ]
    for name in subcommands(top):
        parts += [f".SS {name}", ".nf", roff(help_text(pachka, name)), ".fi"]
    parts += [
        ".SH FILES",
        "Run from a folder that holds \\fITempPlay/\\fR, pachka finds the templates and",
        "\\fIpachkaview.ini\\fR beside its binary. Installed, it reads a template from",
        "\\fI$XDG_DATA_HOME/pachkaview/TempPlay/\\fR (the user's edited copy) before",
        "\\fIPREFIX/share/pachkaview/TempPlay/\\fR, and keeps the settings file in",
        "\\fI$XDG_CONFIG_HOME/pachkaview/\\fR when its own folder cannot be written.",
        ".SH SEE ALSO",
        "pachkaview(1)",
    ]
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(parts) + "\n")


if __name__ == "__main__":
    main()
