#!/usr/bin/env bash
# Builds the Windows program and makes the release package:
# build/dist/Quillmere-<version>-win64.zip, SHA256SUMS beside it, and the
# winget manifests under build/dist/winget/ filled with the version and the
# zip's hash. Set QM_RELEASE_URL to the address the zip will be downloaded
# from before submitting the manifests ({version} is replaced).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target Quillmere QuillmereHook
# Run directly rather than through the build's qm_package target, so a
# changed QM_RELEASE_URL always reaches the manifests.
python3 scripts/make-package.py --build build/windows --source . --out build/dist
