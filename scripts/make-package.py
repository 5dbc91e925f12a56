#!/usr/bin/env python3
"""Makes the release package from a Windows build: Quillmere-<version>-win64.zip,
SHA256SUMS beside it, and the winget manifests filled with the version and the
zip's hash.

The same build gives the same bytes: entries in a fixed order with fixed
attributes and one fixed time (SOURCE_DATE_EPOCH when set), text files with
CRLF line ends, and binaries that were linked without a time stamp.

Usage: make-package.py --build BUILD_DIR --source SOURCE_DIR --out DIST_DIR
Environment: QM_RELEASE_URL, the address the zip will be downloaded from
(written into the winget installer manifest; {version} is replaced).
"""
import argparse
import datetime
import hashlib
import os
import re
import struct
import sys
import zipfile

EARLIEST_ZIP_TIME = 315532800  # 1980-01-01 00:00 UTC
DEFAULT_URL = 'https://example.invalid/quillmere/releases/{version}/Quillmere-{version}-win64.zip'
MANIFESTS = ('Quillmere.Quillmere.yaml', 'Quillmere.Quillmere.installer.yaml',
             'Quillmere.Quillmere.locale.en-US.yaml')


def fail(message):
    sys.exit(f'make-package: {message}')


def read_version(build):
    text = open(os.path.join(build, 'generated', 'version.h'), encoding='utf-8').read()
    match = re.search(r'#define QM_VERSION_STRING "([^"]+)"', text)
    if not match:
        fail('no QM_VERSION_STRING in generated/version.h')
    return match.group(1)


def pe_header(data):
    """(time stamp, symbol table offset) from a PE file's COFF header."""
    offset = struct.unpack_from('<I', data, 0x3C)[0]
    if data[offset:offset + 4] != b'PE\0\0':
        return None
    _, _, stamp, symbols = struct.unpack_from('<HHII', data, offset + 4)
    return stamp, symbols


def shipped_binary(path):
    data = open(path, 'rb').read()
    header = pe_header(data)
    if header is None:
        fail(f'{path} is not a PE file')
    stamp, symbols = header
    if stamp != 0 or symbols != 0:
        fail(f'{path} has a time stamp or symbols; build it with the windows preset')
    return data


def crlf(data):
    return data.replace(b'\r\n', b'\n').replace(b'\n', b'\r\n')


def source_time():
    """The time the zip's entries carry: SOURCE_DATE_EPOCH when set, else
    the earliest a zip can hold, so the bytes depend on the contents alone."""
    return int(os.environ.get('SOURCE_DATE_EPOCH', EARLIEST_ZIP_TIME))


def zip_time(seconds):
    moment = datetime.datetime.fromtimestamp(max(seconds, EARLIEST_ZIP_TIME), datetime.timezone.utc)
    return (moment.year, moment.month, moment.day, moment.hour, moment.minute, moment.second // 2 * 2)


def package_files(build, source, version):
    """Name in the zip -> bytes, for every file the package holds."""
    readme = open(os.path.join(source, 'packaging', 'README.txt'), 'rb').read()
    return {
        'LICENSE': crlf(open(os.path.join(source, 'LICENSE'), 'rb').read()),
        'Quillmere.com': shipped_binary(os.path.join(build, 'Quillmere.com')),
        'Quillmere.dll': shipped_binary(os.path.join(build, 'Quillmere.dll')),
        'Quillmere.exe': shipped_binary(os.path.join(build, 'Quillmere.exe')),
        # With a byte-order mark, so every Notepad shows the Japanese menu names.
        'README.txt': b'\xef\xbb\xbf' + crlf(readme.replace(b'@VERSION@', version.encode())),
        'example/Entry.ini': crlf(open(os.path.join(source, 'examples', 'Entry.ini.txt'), 'rb').read()),
    }


def write_zip(path, files, date_time):
    with open(path, 'wb') as raw, zipfile.ZipFile(raw, 'w') as archive:
        for name in sorted(files):
            info = zipfile.ZipInfo(name, date_time=date_time)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS attributes, as Windows' own zips have
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE, nothing read-only or hidden
            archive.writestr(info, files[name], compresslevel=9)


def write_manifests(source, out, version, sha256, url):
    folder = os.path.join(out, 'winget', 'manifests', 'q', 'Quillmere', 'Quillmere', version)
    os.makedirs(folder, exist_ok=True)
    for name in MANIFESTS:
        text = open(os.path.join(source, 'packaging', 'winget', name), encoding='utf-8').read()
        text = text.replace('@VERSION@', version).replace('@SHA256@', sha256.upper()).replace('@URL@', url)
        with open(os.path.join(folder, name), 'w', encoding='utf-8', newline='\n') as f:
            f.write(text)
    return folder


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build', required=True)
    parser.add_argument('--source', required=True)
    parser.add_argument('--out', required=True)
    args = parser.parse_args()

    version = read_version(args.build)
    name = f'Quillmere-{version}-win64.zip'
    os.makedirs(args.out, exist_ok=True)
    zip_path = os.path.join(args.out, name)
    # Written beside and renamed, so a failed run never leaves a partial zip.
    write_zip(zip_path + '.tmp', package_files(args.build, args.source, version),
              zip_time(source_time()))
    os.replace(zip_path + '.tmp', zip_path)

    sha256 = hashlib.sha256(open(zip_path, 'rb').read()).hexdigest()
    with open(os.path.join(args.out, 'SHA256SUMS'), 'w', newline='\n') as f:
        f.write(f'{sha256}  {name}\n')
    url = os.environ.get('QM_RELEASE_URL', DEFAULT_URL).replace('{version}', version)
    folder = write_manifests(args.source, args.out, version, sha256, url)
    print(f'{zip_path}: {os.path.getsize(zip_path)} bytes, sha256 {sha256}')
    print(f'winget manifests: {folder}')


if __name__ == '__main__':
    main()
