#!/usr/bin/env python3
"""Packs the release and writes what is published with it (called by scripts/release.sh).

  release-files.py OUT VERSION EPOCH DOWNLOAD_URL HOMEPAGE VERSION_FILE_URL COPYRIGHT

OUT holds stage-x64 and stage-x86, each the folder one zip unpacks to. Written into OUT:
  Velmora-VERSION-x64.zip, Velmora-VERSION-x86.zip  the same bytes for the same commit: entries in a
                                                     fixed order, each dated EPOCH (the commit's time)
  SHA256SUMS                                         as sha256sum writes it, for sha256sum -c
  winget/manifests/a/Ardentix/Velmora/VERSION/       the winget manifests (a portable exe in a zip)
  scoop/velmora.json                                 the scoop manifest
The manifests point at DOWNLOAD_URL/<zip name>, where the zips and SHA256SUMS are to be uploaded.
"""
import hashlib
import json
import pathlib
import sys
import time
import zipfile

ARCHES = {"x64": ("x64", "64bit"), "x86": ("x86", "32bit")}  # ours: (winget's, scoop's)
PUBLISHER = "Ardentix"  # as in the program's registry key, Software\Ardentix\Velmora
PACKAGE_ID = f"{PUBLISHER}.Velmora"
SUMMARY = ("Starts the ICQ Lite messenger as the user you choose, with the status and status "
           "message you choose.")
DESCRIPTION = (SUMMARY + " It lists the ICQ numbers ICQ Lite has used on the computer, writes the "
               "choice into ICQ Lite's own settings and starts it, optionally logging in directly.")
LICENSE = "Freeware"
WINGET_SCHEMA = "1.6.0"


def zip_name(version, arch):
    return f"Velmora-{version}-{arch}.zip"


def pack(stage, zip_path, epoch):
    """The exe, its README and the language files, in that order, all dated from the commit."""
    files = [stage / "velmora.exe", stage / "README.txt"] + sorted((stage / "Languages").glob("*.ini"))
    # Zip times are two-second local times without a zone: the commit's time in UTC, to the second
    # before.
    when = time.gmtime(epoch - epoch % 2)[:6]
    with zipfile.ZipFile(zip_path, "w") as archive:
        for path in files:
            entry = zipfile.ZipInfo(path.relative_to(stage).as_posix(), date_time=when)
            entry.create_system = 0  # MS-DOS attributes, whoever packs it
            entry.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            entry.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(entry, path.read_bytes(), compresslevel=9)


def quoted(text):
    """A YAML double-quoted scalar (JSON's string syntax is YAML's)."""
    return json.dumps(text, ensure_ascii=False)


def winget(out, version, epoch, urls, sums, homepage, copyright):
    folder = out / "winget/manifests" / PUBLISHER[0].lower() / PUBLISHER / "Velmora" / version
    folder.mkdir(parents=True)
    head = lambda kind: (f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.{WINGET_SCHEMA}"
                         f".schema.json\n\nPackageIdentifier: {PACKAGE_ID}\nPackageVersion: {version}\n")
    tail = lambda kind: f"ManifestType: {kind}\nManifestVersion: {WINGET_SCHEMA}\n"
    (folder / f"{PACKAGE_ID}.yaml").write_text(
        head("version") + "DefaultLocale: en-US\n" + tail("version"), encoding="utf-8")
    installers = "".join(f"- Architecture: {ARCHES[arch][0]}\n  InstallerUrl: {urls[arch]}\n"
                         f"  InstallerSha256: {sums[arch].upper()}\n" for arch in ARCHES)
    (folder / f"{PACKAGE_ID}.installer.yaml").write_text(
        head("installer") +
        # Windows 7 SP1, the oldest system the exe starts on.
        "MinimumOSVersion: 6.1.7601.0\n"
        "InstallerType: zip\nNestedInstallerType: portable\nNestedInstallerFiles:\n"
        "- RelativeFilePath: velmora.exe\n  PortableCommandAlias: velmora\n"
        f"ReleaseDate: {time.strftime('%Y-%m-%d', time.gmtime(epoch))}\n"
        "Installers:\n" + installers + tail("installer"), encoding="utf-8")
    (folder / f"{PACKAGE_ID}.locale.en-US.yaml").write_text(
        head("defaultLocale") +
        f"PackageLocale: en-US\nPublisher: {PUBLISHER}\nPublisherUrl: {homepage}\nPackageName: Velmora\n"
        f"PackageUrl: {homepage}\nLicense: {LICENSE}\nCopyright: {quoted(copyright)}\n"
        f"ShortDescription: {quoted(SUMMARY)}\nDescription: {quoted(DESCRIPTION)}\n"
        "Moniker: velmora\nTags:\n- icq\n- messenger\n- launcher\n" + tail("defaultLocale"), encoding="utf-8")


def scoop(out, version, download, urls, sums, homepage, version_file):
    manifest = {
        "version": version,
        "description": SUMMARY,
        "homepage": homepage,
        "license": LICENSE,
        "architecture": {ARCHES[a][1]: {"url": urls[a], "hash": sums[a]} for a in ARCHES},
        "bin": "velmora.exe",
        "shortcuts": [["velmora.exe", "Velmora"]],
        # The program's own update file: "version|download address", the version dotted.
        "checkver": {"url": version_file, "regex": r"^\s*(\d+\.\d+(?:\.\d+)?)\s*\|"},
        "autoupdate": {
            "architecture": {ARCHES[a][1]: {"url": f"{download}/{zip_name('$version', a)}"} for a in ARCHES},
            "hash": {"url": "$baseurl/SHA256SUMS"},
        },
    }
    (out / "scoop").mkdir()
    (out / "scoop/velmora.json").write_text(json.dumps(manifest, indent=4, ensure_ascii=False) + "\n",
                                            encoding="utf-8")


def main(out, version, epoch, download, homepage, version_file, copyright):
    out, epoch = pathlib.Path(out), int(epoch)
    urls, sums = {}, {}
    for arch in ARCHES:
        name = zip_name(version, arch)
        pack(out / f"stage-{arch}", out / name, epoch)
        urls[arch] = f"{download}/{name}"
        sums[arch] = hashlib.sha256((out / name).read_bytes()).hexdigest()
    (out / "SHA256SUMS").write_text("".join(f"{sums[a]}  {zip_name(version, a)}\n" for a in ARCHES),
                                    encoding="ascii")
    winget(out, version, epoch, urls, sums, homepage, copyright)
    scoop(out, version, download, urls, sums, homepage, version_file)


if __name__ == "__main__":
    if len(sys.argv) != 8:
        sys.exit(__doc__)
    main(*sys.argv[1:])
