"""Prints deb822 stanzas of Types: deb-src for every deb entry of the given
release in the machine's apt sources (deb822 files and one-line lists), so
that apt-get source fetches the sources that belong to the installed binaries.

Usage: deb_src.py CODENAME
"""
import glob
import sys


def stanzas(text):
    block = []
    for line in text.splitlines():
        if line.strip():
            block.append(line)
        elif block:
            yield block
            block = []
    if block:
        yield block


def fields(block):
    out, key = {}, None
    for line in block:
        if line.startswith("#"):
            continue
        if line[0] in " \t" and key:
            out[key] += " " + line.strip()
            continue
        key, _, value = line.partition(":")
        key = key.strip()
        out[key] = value.strip()
    return out


def from_deb822(path, codename):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    for block in stanzas(text):
        entry = fields(block)
        if entry.get("Enabled", "yes").lower() == "no":
            continue
        suites = entry.get("Suites", "").split()
        if "deb" not in entry.get("Types", "").split():
            continue
        if not any(s.split("-")[0] == codename for s in suites):
            continue
        entry["Types"] = "deb-src"
        yield entry


def from_one_line(path, codename):
    with open(path, encoding="utf-8") as f:
        for line in f:
            words = line.split("#")[0].split()
            if len(words) < 4 or words[0] != "deb":
                continue
            options = []
            if words[1].startswith("["):
                end = next(i for i, w in enumerate(words) if w.endswith("]"))
                options, words = words[1:end + 1], [words[0]] + words[end + 1:]
            if words[2].split("-")[0] != codename:
                continue
            entry = {"Types": "deb-src", "URIs": words[1], "Suites": words[2],
                     "Components": " ".join(words[3:])}
            for option in " ".join(options).strip("[] ").split():
                key, _, value = option.partition("=")
                if key == "signed-by":
                    entry["Signed-By"] = value
            yield entry


def main(args):
    if len(args) != 1:
        sys.exit(__doc__)
    codename = args[0]
    entries = []
    for path in sorted(glob.glob("/etc/apt/sources.list.d/*.sources")):
        entries += from_deb822(path, codename)
    for path in ["/etc/apt/sources.list"] + sorted(glob.glob("/etc/apt/sources.list.d/*.list")):
        try:
            entries += from_one_line(path, codename)
        except FileNotFoundError:
            pass
    print("\n\n".join("\n".join(k + ": " + v for k, v in e.items()) for e in entries))


if __name__ == "__main__":
    main(sys.argv[1:])
