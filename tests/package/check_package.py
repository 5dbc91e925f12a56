#!/usr/bin/env python3
"""Checks the release package the build made: the zip holds exactly the
release files with the right bytes, the binaries carry no symbols or time
stamps, the package is made byte for byte again from the same inputs,
SHA256SUMS matches, and the winget manifests hold every field their
published 1.6.0 schemas require, consistent with the zip. Writes the
results as a GoogleTest-style XML report, then unpacks the zip into a
folder whose name has a space and non-ASCII letters, where
qm_package_tests starts the program under Wine.

Usage: check_package.py --build DIR --source DIR --dist DIR --xml FILE --unpack DIR
"""
import argparse
import hashlib
import importlib.util
import os
import re
import shutil
import subprocess
import sys
import tempfile
import traceback
import xml.etree.ElementTree as ET
import zipfile

import yaml

# The package maker's own readers (version, PE header, line ends).
_maker = importlib.util.spec_from_file_location(
    'make_package', os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts', 'make-package.py'))
make_package = importlib.util.module_from_spec(_maker)
_maker.loader.exec_module(make_package)

# Kept in step with the Wine test, which looks for this folder.
UNPACK_FOLDER = 'Programme \u2013 \u30c6\u30b9\u30c8'
RELEASE_FILES = ['LICENSE', 'Quillmere.com', 'Quillmere.dll', 'Quillmere.exe', 'README.txt', 'example/Entry.ini']
# The program and its hook library together, stripped.
SIZE_BUDGET = 200 * 1024

# The required fields of the published winget 1.6.0 manifest schemas.
REQUIRED = {
    'version': ['PackageIdentifier', 'PackageVersion', 'DefaultLocale', 'ManifestType', 'ManifestVersion'],
    'defaultLocale': ['PackageIdentifier', 'PackageVersion', 'PackageLocale', 'Publisher', 'PackageName',
                      'License', 'ShortDescription', 'ManifestType', 'ManifestVersion'],
    'installer': ['PackageIdentifier', 'PackageVersion', 'Installers', 'ManifestType', 'ManifestVersion'],
}
INSTALLER_REQUIRED = ['Architecture', 'InstallerUrl', 'InstallerSha256']
IDENTIFIER = re.compile(r'^[^.\s\\/:*?"<>|\x01-\x1f]{1,32}(\.[^.\s\\/:*?"<>|\x01-\x1f]{1,32}){1,7}$')
# Lengths the schemas allow: (shortest, longest).
LENGTHS = {'Publisher': (2, 256), 'PackageName': (2, 256), 'License': (3, 512), 'ShortDescription': (3, 256),
           'Description': (3, 10000), 'Moniker': (1, 40)}


class Checks:
    def __init__(self, args):
        self.args = args
        self.version = make_package.read_version(args.build)
        self.zip_name = f'Quillmere-{self.version}-win64.zip'
        self.zip_path = os.path.join(args.dist, self.zip_name)
        self.zip_bytes = open(self.zip_path, 'rb').read()

    def source_bytes(self, *parts):
        return open(os.path.join(self.args.source, *parts), 'rb').read()

    def test_zip_holds_exactly_the_release_files(self):
        with zipfile.ZipFile(self.zip_path) as archive:
            infos = archive.infolist()
            assert [i.filename for i in infos] == RELEASE_FILES, [i.filename for i in infos]
            for info in infos:
                assert info.date_time == infos[0].date_time, f'{info.filename}: its own date'
                assert (info.create_system, info.external_attr) == (0, 0x20), f'{info.filename}: attributes'
                assert info.compress_type == zipfile.ZIP_DEFLATED, f'{info.filename}: stored'
            files = {name: archive.read(name) for name in RELEASE_FILES}
        for name in ('Quillmere.com', 'Quillmere.exe', 'Quillmere.dll'):
            built = open(os.path.join(self.args.build, name), 'rb').read()
            assert files[name] == built, f'{name} differs from the build'
        for name, source in (('LICENSE', ('LICENSE',)), ('example/Entry.ini', ('examples', 'Entry.ini.txt'))):
            assert files[name] == make_package.crlf(self.source_bytes(*source)), f'{name} differs from the source'
        readme = files['README.txt']
        assert readme.startswith(b'\xef\xbb\xbf'), 'README.txt has no byte-order mark'
        text = readme[3:].decode('utf-8')
        assert f'Quillmere {self.version}' in text and '@VERSION@' not in text, 'README.txt version'
        for name in ('LICENSE', 'README.txt', 'example/Entry.ini'):
            assert b'\n' not in files[name].replace(b'\r\n', b''), f'{name} has a bare line feed'

    def test_binaries_are_stripped_and_carry_no_time_stamp(self):
        with zipfile.ZipFile(self.zip_path) as archive:
            for name in ('Quillmere.com', 'Quillmere.exe', 'Quillmere.dll'):
                assert make_package.pe_header(archive.read(name)) == (0, 0), f'{name}: time stamp or symbols'

    def test_binaries_stay_within_their_size_budget(self):
        # The hook library is mapped into every process with a window; one
        # string_view::substr or vector::at in its code links the runtime's
        # whole exception support, five times the library's own size.
        with zipfile.ZipFile(self.zip_path) as archive:
            sizes = {name: archive.getinfo(name).file_size for name in ('Quillmere.exe', 'Quillmere.dll')}
        assert sizes['Quillmere.dll'] <= 48 * 1024, sizes
        assert sum(sizes.values()) <= SIZE_BUDGET, f'{sizes}: together over {SIZE_BUDGET} bytes'

    def test_same_inputs_make_the_same_bytes(self):
        with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
            for out in (first, second):
                subprocess.run([sys.executable, os.path.join(self.args.source, 'scripts', 'make-package.py'),
                                '--build', self.args.build, '--source', self.args.source, '--out', out],
                               check=True, capture_output=True)
            again = [open(os.path.join(out, self.zip_name), 'rb').read() for out in (first, second)]
        assert again[0] == again[1], 'two runs made different zips'
        assert again[0] == self.zip_bytes, 'the zip in the dist folder is not what the build makes now'

    def test_checksums_match_the_zip(self):
        sums = open(os.path.join(self.args.dist, 'SHA256SUMS'), encoding='ascii').read()
        assert sums == f'{hashlib.sha256(self.zip_bytes).hexdigest()}  {self.zip_name}\n', sums

    def test_winget_manifests_hold_the_required_fields(self):
        folder = os.path.join(self.args.dist, 'winget', 'manifests', 'q', 'Quillmere', 'Quillmere', self.version)
        manifests = {}
        for name in sorted(os.listdir(folder)):
            text = open(os.path.join(folder, name), encoding='utf-8').read()
            assert not re.search(r'@[A-Z0-9]+@', text), f'{name}: placeholder left'
            data = yaml.safe_load(text)
            manifests[data['ManifestType']] = (name, data)
        assert sorted(manifests) == sorted(REQUIRED), sorted(manifests)
        identifier = manifests['version'][1]['PackageIdentifier']
        assert IDENTIFIER.match(identifier), identifier
        for kind, (name, data) in manifests.items():
            missing = [key for key in REQUIRED[kind] if not data.get(key)]
            assert not missing, f'{name}: missing {missing}'
            assert data['PackageIdentifier'] == identifier, f'{name}: identifier'
            assert str(data['PackageVersion']) == self.version, f'{name}: version'
            assert data['ManifestVersion'] == '1.6.0', f'{name}: manifest version'
        locale = manifests['defaultLocale'][1]
        assert locale['PackageLocale'] == manifests['version'][1]['DefaultLocale'], 'locale'
        # The community repository finds the files by these names.
        expected = {'version': f'{identifier}.yaml', 'installer': f'{identifier}.installer.yaml',
                    'defaultLocale': f'{identifier}.locale.{locale["PackageLocale"]}.yaml'}
        assert {kind: name for kind, (name, _) in manifests.items()} == expected, 'file names'
        for key, (shortest, longest) in LENGTHS.items():
            if key in locale:
                assert shortest <= len(str(locale[key])) <= longest, f'{key}: length {len(str(locale[key]))}'
        assert all(len(tag) <= 40 for tag in locale.get('Tags', [])), 'tag too long'

        installer = manifests['installer'][1]
        assert installer['InstallerType'] == 'zip' and installer['NestedInstallerType'] == 'portable'
        nested = installer['NestedInstallerFiles']
        assert [f['RelativeFilePath'] for f in nested] == ['Quillmere.exe'], nested
        assert all(f['RelativeFilePath'] in RELEASE_FILES for f in nested)
        assert len(installer['Installers']) == 1
        entry = installer['Installers'][0]
        missing = [key for key in INSTALLER_REQUIRED if not entry.get(key)]
        assert not missing, f'installer: missing {missing}'
        assert entry['Architecture'] == 'x64'
        assert re.match(r'^[Hh][Tt][Tt][Pp][Ss]?://.+$', entry['InstallerUrl']), entry['InstallerUrl']
        assert entry['InstallerSha256'] == hashlib.sha256(self.zip_bytes).hexdigest().upper(), 'hash'


def unpack(zip_path, into):
    """Unpacks the zip into INTO/<UNPACK_FOLDER>, replacing an earlier copy."""
    shutil.rmtree(into, ignore_errors=True)
    target = os.path.join(into, UNPACK_FOLDER)
    os.makedirs(target)
    with zipfile.ZipFile(zip_path) as archive:
        archive.extractall(target)


def main():
    parser = argparse.ArgumentParser()
    for option in ('--build', '--source', '--dist', '--xml', '--unpack'):
        parser.add_argument(option, required=True)
    args = parser.parse_args()

    suite = ET.Element('testsuite', name='Package')
    failures = 0
    try:
        checks = Checks(args)
    except OSError as error:
        checks = None
        case = ET.SubElement(suite, 'testcase', classname='Package', name='PackageExists')
        ET.SubElement(case, 'failure', message=f'{error} (the windows build makes the package)')
        failures += 1
    names = [n for n in dir(Checks) if n.startswith('test_')] if checks else []
    for name in names:
        title = ''.join(part.capitalize() for part in name[5:].split('_'))
        case = ET.SubElement(suite, 'testcase', classname='Package', name=title)
        try:
            getattr(checks, name)()
            print(f'[  OK  ] Package.{title}')
        except Exception as error:  # a failed check, or one that could not run
            failures += 1
            detail = ''.join(traceback.format_exception_only(type(error), error)).strip()
            ET.SubElement(case, 'failure', message=detail)
            print(f'[FAILED] Package.{title}: {detail}')
    suite.set('tests', str(len(suite)))
    suite.set('failures', str(failures))
    root = ET.Element('testsuites')
    root.append(suite)
    ET.ElementTree(root).write(args.xml, encoding='utf-8', xml_declaration=True)
    if checks:
        unpack(checks.zip_path, args.unpack)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
