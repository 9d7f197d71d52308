#!/usr/bin/env python3
"""Reads the notice of licences in a zip of the game, for Windows or the page: a section names
every file that the zip holds, each licence that a Debian copyright file in it names has its text
there, and each source package's address is its folder in Debian's pool. Then has make-notice
write a notice whose copyright file points to a licence text that this machine lacks, sorted
first and last among the texts: it must stop with a message that names the text, and leave no
notice; and one whose copyright file points to no text, which needs none: it must write it.

Usage: notice.py ZIP MAKE_NOTICE
"""
import os
import re
import subprocess
import sys
import tempfile
import zipfile

RULE = "=" * 78
problems = []


def sections(notice):
    """The notice's sections: (heading, text)."""
    parts = re.split(rf"^{RULE}\n(.*)\n{RULE}\n", notice, flags=re.M)
    return list(zip(parts[1::2], parts[2::2]))


def licences_without_text(copyright):
    """The licences that a machine-readable Debian copyright file names for its files but gives no
    text for, neither in the paragraph that names them nor in one of their own."""
    named, given = [], set()
    for paragraph in re.split(r"\n[ \t]*\n", copyright):
        lines = paragraph.strip("\n").split("\n")
        for i, line in enumerate(lines):
            if line.startswith("License:"):
                licence = line[len("License:"):].strip()
                if any(line.startswith("Files:") for line in lines):
                    named.append(licence)
                if any(more.strip() for more in lines[i + 1:] if more[:1] in (" ", "\t")):
                    given.add(licence)
    missing = set()
    for licence in named:
        if licence in given:
            continue
        # "A or (B and C), and D with E exception": each name, with its exception where that has a
        # text of its own.
        words = [word for word in re.sub(r"[(),]", " ", licence).split() if word not in ("or", "and")]
        while words:
            name = words.pop(0)
            if words[:1] == ["with"] and words[2:3] == ["exception"]:
                exception = " ".join([name] + words[:3])
                name = exception if exception in given else name
                del words[:3]
            if name not in given:
                missing.add(name)
    return missing


def pool_folder(package):
    # Debian files a source package under its first letter, a lib* package under "lib" and its
    # fourth letter.
    return package[:4] if package.startswith("lib") else package[0]


def check_notice(zip_path):
    with zipfile.ZipFile(zip_path) as game:
        files = [name.split("/", 1)[1] for name in game.namelist() if not name.endswith("/")]
        notice_name = next(name for name in game.namelist() if name.endswith("/NOTICE.txt"))
        notice = game.read(notice_name).decode("utf-8").replace("\r\n", "\n")
    named = set()
    for heading, _ in sections(notice):
        if ": " in heading:
            named.update(heading.split(": ", 1)[0].split(", "))
    for file in files:
        if file != "NOTICE.txt" and file not in named:
            problems.append(f"no section names {file}")
    texts = {m.group(1) for m in re.finditer(r"^The text of (\S+), as Debian keeps it", notice, re.M)}
    for heading, text in sections(notice):
        for pointer in set(re.findall(r"/usr/share/common-licenses/[A-Za-z0-9+-]+(?:\.[0-9]+)*", text)):
            if os.path.basename(os.path.realpath(pointer)) not in texts:
                problems.append(f"{heading}: no text of {pointer}")
        if "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/" in text:
            for licence in sorted(licences_without_text(text)):
                problems.append(f"{heading}: no text of {licence}")
        for package, folder in re.findall(r"apt-get source ([^=\s]+)=\S+, or \S+/pool/main/([^/]+)/", text):
            if folder != pool_folder(package):
                problems.append(f"{heading}: {package} is in pool/main/{pool_folder(package)}/, not {folder}/")


def check_pointers(make_notice):
    present = "/usr/share/common-licenses/GPL-2"
    for case, see, missing in (("a missing text first among the pointers", "{0} and {1}", "AAA-missing"),
                               ("a missing text last among the pointers", "{1} and {0}", "ZZZ-missing"),
                               ("no pointer to a text", "the text above", None)):
        with tempfile.TemporaryDirectory() as folder:
            missing = missing and f"/usr/share/common-licenses/{missing}"
            notes = {"copyright": f"Files: *\nLicense: GPL-2\n See {see.format(missing, present)}.\n",
                     "version": "1.0-1\n", "directory": "pool/main/libf/libfoo\n",
                     "recipe": "packaging/windows/deps/libfoo\n"}
            for note, text in notes.items():
                with open(os.path.join(folder, f"libfoo.{note}"), "w") as out:
                    out.write(text)
            out = os.path.join(folder, "out", "NOTICE.txt")
            os.mkdir(os.path.dirname(out))
            run = subprocess.run(["bash", make_notice, out, "title", folder, "source", "libfoo", "foo.dll"],
                                 capture_output=True, text=True)
            said = f"status {run.returncode}, said {run.stderr.strip()!r}"
            if not missing:
                if run.returncode != 0 or not os.path.exists(out):
                    problems.append(f"{case}: no notice, {said}")
                continue
            if run.returncode == 0 or missing not in run.stderr:
                problems.append(f"{case}: {said}")
            if os.listdir(os.path.dirname(out)):
                problems.append(f"{case} left {os.listdir(os.path.dirname(out))}")


check_notice(sys.argv[1])
check_pointers(sys.argv[2])
for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
