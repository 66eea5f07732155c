#!/usr/bin/env python3
"""Checks what scripts/release.sh made in ROOT/build/release against the sources, not against the
script that wrote it: the version from CMakeLists.txt, the time from the commit, the download
address from the release build's settings, the hashes from the zips themselves.

  check_release.py ROOT

Prints each finding; exits 1 when anything is wrong.
"""
import hashlib
import json
import os
import pathlib
import re
import struct
import subprocess
import sys
import time
import zipfile

import yaml

ARCHES = {"x64": ("x64", "64bit", 0x8664), "x86": ("x86", "32bit", 0x014C)}  # winget, scoop, PE machine
problems = []


def expect(ok, what):
    print(("ok: " if ok else "WRONG: ") + what)
    if not ok:
        problems.append(what)


def sources(root):
    version = re.search(r"^project\(Velmora VERSION ([0-9.]+)", (root / "CMakeLists.txt").read_text(), re.M)[1]
    epoch = os.environ.get("SOURCE_DATE_EPOCH") or subprocess.run(
        ["git", "-C", str(root), "log", "-1", "--format=%ct"], capture_output=True, text=True, check=True).stdout
    cache = (root / "build/release-x64/CMakeCache.txt").read_text(encoding="utf-8")
    download = re.search(r"^VELMORA_DOWNLOAD_URL:\w+=(.*)$", cache, re.M)[1]
    languages = sorted(p.name for p in (root / "Languages").glob("*.ini"))
    return version, int(epoch), download, languages


def pe_header(exe):
    """The machine and the time stamp of a PE file's header."""
    offset = struct.unpack_from("<I", exe, 0x3C)[0]
    if exe[:2] != b"MZ" or exe[offset:offset + 4] != b"PE\0\0":
        return None, None
    machine, _, stamp = struct.unpack_from("<HHI", exe, offset + 4)
    return machine, stamp


def check_zip(path, arch, version, epoch, languages, root):
    with zipfile.ZipFile(path) as archive:
        entries = archive.infolist()
        names = [e.filename for e in entries]
        wanted = ["velmora.exe", "README.txt"] + [f"Languages/{name}" for name in languages]
        expect(names == wanted, f"{path.name} holds, in this order, {names}")
        when = time.gmtime(epoch - epoch % 2)[:6]
        times = {e.date_time for e in entries}
        expect(times == {when}, f"{path.name}: every entry dated {when} (the commit), got {sorted(times)}")
        exe = archive.read("velmora.exe")
        readme = archive.read("README.txt").decode("utf-8")
    machine, stamp = pe_header(exe)
    expect(machine == ARCHES[arch][2], f"{path.name}: velmora.exe is for machine {machine:#x}" if machine
           else f"{path.name}: velmora.exe is no PE file")
    expect(stamp == 0, f"{path.name}: velmora.exe's header time stamp is {stamp}")
    for needle, what in [(str(root), "the build's path"), ("VELMORA_TEST_WINDOWS7", "a test switch")]:
        found = needle.encode() in exe or needle.encode("utf-16-le") in exe
        expect(not found, f"{path.name}: velmora.exe {'holds' if found else 'does not hold'} {what} ({needle})")
    expect(readme.startswith(f"Velmora {version} ({arch})\r\n"),
           f"{path.name}: README.txt begins {readme.splitlines()[0]!r}")
    return set(names)


def check_winget(folder, version, urls, sums, contents):
    files = {kind: folder / f"Ardentix.Velmora{suffix}.yaml"
             for kind, suffix in [("version", ""), ("installer", ".installer"), ("defaultLocale", ".locale.en-US")]}
    found = sorted(p.name for p in folder.glob("*")) if folder.is_dir() else []
    expect(found == sorted(p.name for p in files.values()), f"winget manifests in {folder}: {found}")
    if found != sorted(p.name for p in files.values()):
        return
    docs = {kind: yaml.safe_load(path.read_text(encoding="utf-8")) for kind, path in files.items()}
    for kind, doc in docs.items():
        got = (doc.get("PackageIdentifier"), str(doc.get("PackageVersion")), doc.get("ManifestType"),
               str(doc.get("ManifestVersion")))
        expect(got == ("Ardentix.Velmora", version, kind, "1.6.0"),
               f"winget {kind} manifest: identifier, version, type, schema {got}")
    expect(docs["version"].get("DefaultLocale") == docs["defaultLocale"].get("PackageLocale"),
           f"winget default locale {docs['version'].get('DefaultLocale')} has its manifest")
    locale = docs["defaultLocale"]
    missing = [f for f in ["Publisher", "PackageName", "License", "ShortDescription"] if not locale.get(f)]
    expect(not missing, f"winget locale manifest lacks {missing or 'none'} of the required fields")
    installer = docs["installer"]
    nested = installer.get("NestedInstallerFiles") or [{}]
    got = (installer.get("InstallerType"), installer.get("NestedInstallerType"), nested[0].get("RelativeFilePath"),
           nested[0].get("PortableCommandAlias"))
    expect(got[:2] == ("zip", "portable") and all(got[2:]) and all(got[2] in c for c in contents.values()),
           f"winget installer: type, nested type, the exe in every zip, its command {got}")
    listed = {i.get("Architecture"): (i.get("InstallerUrl"), str(i.get("InstallerSha256")).lower())
              for i in installer.get("Installers", [])}
    wanted = {ARCHES[a][0]: (urls[a], sums[a]) for a in ARCHES}
    expect(listed == wanted, f"winget installers {listed}")


def check_scoop(path, version, urls, sums, contents):
    doc = json.loads(path.read_text(encoding="utf-8")) if path.exists() else {}
    expect(doc.get("version") == version, f"scoop version {doc.get('version')}")
    listed = {a: (v.get("url"), v.get("hash")) for a, v in doc.get("architecture", {}).items()}
    expect(listed == {ARCHES[a][1]: (urls[a], sums[a]) for a in ARCHES}, f"scoop architectures {listed}")
    shortcut = (doc.get("shortcuts") or [[None]])[0][0]
    expect(all(doc.get("bin") in c and shortcut in c for c in contents.values()),
           f"scoop bin {doc.get('bin')} and shortcut {shortcut} in every zip")
    expect(bool(doc.get("homepage") and doc.get("license")), f"scoop homepage {doc.get('homepage')}, "
           f"license {doc.get('license')}")


def main(root):
    root = pathlib.Path(root).resolve()
    out = root / "build/release"
    version, epoch, download, languages = sources(root)
    zips = {a: out / f"Velmora-{version}-{a}.zip" for a in ARCHES}
    sums = {a: hashlib.sha256(p.read_bytes()).hexdigest() if p.exists() else None for a, p in zips.items()}
    expect(all(sums.values()), f"the zips {[p.name for p in zips.values()]} are there")
    if not all(sums.values()):
        return 1
    urls = {a: f"{download}/{p.name}" for a, p in zips.items()}
    # As a user checks a download.
    result = subprocess.run(["sha256sum", "--check", "--strict", "SHA256SUMS"], cwd=out, capture_output=True,
                            text=True)
    checked = sorted(line.rsplit(":", 1)[0] for line in result.stdout.splitlines())
    expect(result.returncode == 0 and checked == sorted(p.name for p in zips.values()),
           f"sha256sum --check SHA256SUMS: {result.stdout.strip() or result.stderr.strip()!r}")
    contents = {a: check_zip(zips[a], a, version, epoch, languages, root) for a in ARCHES}
    check_winget(out / "winget/manifests/a/Ardentix/Velmora" / version, version, urls, sums, contents)
    check_scoop(out / "scoop/velmora.json", version, urls, sums, contents)
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
