#!/usr/bin/env python3
"""Totals the GoogleTest XML reports of every suite into one line:
'tests: N passed, N failed, N skipped', after each failed test and the
first lines of its failure. Exits 1 when a test failed or a
suite left no report (it crashed or did not run). An argument is a folder
of reports, with ':' and the suites that must have left one there."""
import glob
import os
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
problems = []
for argument in sys.argv[1:]:
    # FOLDER, or FOLDER:SUITE,SUITE,... naming the suites that must have left
    # a report there: a test program that ends early with exit code 0 (a
    # stack overflow under Wine does) passes in CTest but writes none.
    folder, _, expected = argument.partition(':')
    reports = sorted(glob.glob(os.path.join(folder, '*.xml')))
    if not reports:
        problems.append(f'no test reports in {folder}')
    for suite in filter(None, expected.split(',')):
        if not os.path.exists(os.path.join(folder, suite + '.xml')):
            problems.append(f'no report from {suite} in {folder}: it ended before writing one')
    for path in reports:
        try:
            root = ET.parse(path).getroot()
        except ET.ParseError as error:
            problems.append(f'{path}: unreadable report ({error})')
            continue
        suite = f"{os.path.basename(os.path.dirname(os.path.dirname(path)))}/{os.path.basename(path)[:-4]}"
        for case in root.iter('testcase'):
            name = f"{suite}: {case.get('classname')}.{case.get('name')}"
            fault = case.find('failure')
            if fault is None:
                fault = case.find('error')
            if fault is not None:
                failed += 1
                print(f'FAILED  {name}')
                # The first lines of what failed, so that a log cut short
                # in its middle still says where and why.
                for line in (fault.get('message') or '').splitlines()[:8]:
                    print(f'        {line}')
            elif case.get('status') == 'notrun' or case.find('skipped') is not None or case.get('result') == 'skipped':
                skipped += 1
            else:
                passed += 1

for problem in problems:
    print(f'PROBLEM {problem}')
print(f'tests: {passed} passed, {failed} failed, {skipped} skipped')
sys.exit(1 if failed or problems else 0)
