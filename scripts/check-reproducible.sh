#!/usr/bin/env bash
# Checks that the release package is reproducible: builds it from the
# current commit twice, from clean, in two fresh clones at different paths
# (one with a space in it), and compares the zips' hashes. Takes two full
# builds of the program; not part of the test run.
set -euo pipefail
cd "$(dirname "$0")/.."
commit=$(git rev-parse HEAD)
work=$(mktemp -d /tmp/quillmere-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT
for clone in "$work/first" "$work/second copy"; do
  git clone -q . "$clone"
  git -C "$clone" checkout -q "$commit"
  (cd "$clone" && scripts/package.sh >/dev/null)
done
first=$(cat "$work/first/build/dist/SHA256SUMS")
second=$(cat "$work/second copy/build/dist/SHA256SUMS")
echo "first:  $first"
echo "second: $second"
[ "$first" = "$second" ] && echo "reproducible: the same bytes from both builds" && exit 0
echo "NOT reproducible" >&2
exit 1
