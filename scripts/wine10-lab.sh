#!/usr/bin/env bash
# The Wine 10 test lab: a Debian 13 (trixie) root with Wine 10 in it, made
# once in a fixed place outside the repository and reused by every later run
# on this machine. Wine 10 behaves much more like Windows than the system's
# Wine 8 (it raises window events by itself and scales coordinates for
# programs that are not DPI aware), so the Windows suites run in both.
#
#   scripts/wine10-lab.sh make           make the root unless it is complete
#   scripts/wine10-lab.sh run CMD ARG..  make it if needed, then run CMD with
#                                        the root's mounts in place and
#                                        QM_WINE_ROOT naming the root
#
# CMD runs in a mount namespace of its own: the bind mounts (proc, sys, dev,
# dev/pts, dev/shm, /tmp/.X11-unix and the build folder at the same path)
# are seen only by it and its children, so runs side by side do not unmount
# each other's lab, and nothing stays mounted if a run is killed. The script
# still unmounts them itself when CMD ends.
#
# Environment: QM_WINE10_ROOT (default /var/lib/quillmere/wine10-root),
# QM_LAB_SHARE (folder seen at the same path inside; default: the
# repository's build folder), QM_DEBIAN_MIRROR (default: the Debian mirror
# in this machine's apt sources).
#
# Exits non-zero with a message saying why when the lab cannot be made.
set -uo pipefail

lab_root=${QM_WINE10_ROOT:-/var/lib/quillmere/wine10-root}
lab_suite=trixie
lab_packages=(wine wine64 fonts-noto-cjk)
# The stamp holds what the root was made from; a root without it, or made
# from something else, is made again.
lab_stamp=$lab_root/.quillmere-lab
lab_recipe="$lab_suite ${lab_packages[*]}"
repo=$(cd "$(dirname "$0")/.." && pwd)

fail() { echo "wine10-lab: $*" >&2; exit 1; }
say() { echo "wine10-lab: $*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null; then sudo "$@"
  else fail "the lab needs root (chroot, mount); run as root or install sudo"
  fi
}

lab_complete() { [ "$(cat "$lab_stamp" 2>/dev/null)" = "$lab_recipe" ]; }

# The first plain Debian archive in apt's sources (not the security archive),
# as debootstrap wants it: a URI ending in /debian.
debian_mirror() {
  if [ -n "${QM_DEBIAN_MIRROR:-}" ]; then echo "$QM_DEBIAN_MIRROR"; return; fi
  local found
  found=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
    awk '/^[[:space:]]*deb[[:space:]]/ { for (i = 2; i <= NF; ++i) if ($i ~ /^[a-z]+:\/\//) { print $i; break } }
         /^[[:space:]]*URIs:/ { for (i = 2; i <= NF; ++i) print $i }' |
    sed 's:/*$::' | grep -E '/debian$' | head -n 1)
  if [ -n "$found" ]; then echo "$found"; return; fi
  say "no Debian archive in apt's sources; using http://deb.debian.org/debian (set QM_DEBIAN_MIRROR to choose)"
  echo http://deb.debian.org/debian
}

# Mount points currently under the root, deepest first.
mounts_under_root() {
  awk -v root="$lab_root" '$5 == root || index($5, root "/") == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

unmount_all() {
  local point
  for point in $(mounts_under_root); do
    umount "$point" 2>/dev/null || umount -l "$point" 2>/dev/null || say "could not unmount $point"
  done
}

# Bind mounts what running programs in the root needs; $@: extra folders
# that appear at the same path inside.
mount_all() {
  mount -t proc proc "$lab_root/proc" || return 1
  mount --rbind /sys "$lab_root/sys" && mount --make-rslave "$lab_root/sys" || return 1
  mount --bind /dev "$lab_root/dev" || return 1
  mount --bind /dev/pts "$lab_root/dev/pts" || return 1
  mount --bind /dev/shm "$lab_root/dev/shm" || return 1
  local folder
  for folder in "$@"; do
    mkdir -p "$folder" "$lab_root$folder" && mount --bind "$folder" "$lab_root$folder" || return 1
  done
}

# Runs in a private mount namespace (see "make"): debootstrap, then Wine.
make_inside() {
  trap unmount_all EXIT
  local mirror
  mirror=$(debian_mirror)
  say "debootstrap $lab_suite from $mirror into $lab_root"
  debootstrap --arch=amd64 --variant=minbase "$lab_suite" "$lab_root" "$mirror" >"$lab_root.log" 2>&1 ||
    fail "debootstrap failed; its log is $lab_root.log (tail: $(tail -n 3 "$lab_root.log" 2>/dev/null | tr '\n' ' '))"
  cp /etc/resolv.conf "$lab_root/etc/resolv.conf"
  mount_all || fail "could not bind-mount proc, sys and dev into $lab_root"
  say "installing ${lab_packages[*]} in the root"
  chroot "$lab_root" /usr/bin/env DEBIAN_FRONTEND=noninteractive LC_ALL=C \
    sh -c 'apt-get update -qq && apt-get install -y -qq --no-install-recommends "$@"' sh "${lab_packages[@]}" \
    >>"$lab_root.log" 2>&1 ||
    fail "installing Wine in the root failed; see $lab_root.log"
  chroot "$lab_root" apt-get clean
  chroot "$lab_root" wine --version >/dev/null 2>&1 || fail "wine does not run in $lab_root"
  echo "$lab_recipe" >"$lab_stamp"
}

make_lab() {
  lab_complete && return 0
  local started=$SECONDS
  mkdir -p "$(dirname "$lab_root")" || fail "cannot create $(dirname "$lab_root")"
  command -v debootstrap >/dev/null && [ -e /usr/share/keyrings/debian-archive-keyring.gpg ] || {
    say "installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap debian-archive-keyring >/dev/null ||
      { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap debian-archive-keyring >/dev/null; } ||
      fail "could not install debootstrap"
  }
  if [ -e "$lab_root" ]; then
    # Left by an interrupted or older build: start again. Never delete
    # through a mount (the build folder, /dev) that someone left in place.
    [ -z "$(mounts_under_root)" ] || fail "folders are mounted under $lab_root (an unfinished run?); unmount them first: $(mounts_under_root | tr '\n' ' ')"
    say "removing the incomplete root $lab_root"
    rm -rf --one-file-system "$lab_root" || fail "could not remove $lab_root"
  fi
  mkdir -p "$lab_root"
  unshare --mount --propagation private "$0" make-inside || exit 1
  lab_complete || fail "the root was not completed"
  say "made $lab_root in $((SECONDS - started)) s ($(du -sh --one-file-system "$lab_root" | cut -f1))"
}

# One lock for the root: making it is exclusive, using it is shared, so no
# run ever sees a root being made or removed. Only this script holds it:
# the programs it starts (a lingering wineserver among them) do not.
open_lock() {
  mkdir -p "$(dirname "$lab_root")" || fail "cannot create $(dirname "$lab_root")"
  exec {lab_lock}>"$lab_root.lock" || fail "cannot open $lab_root.lock"
}

enter_inside() {
  trap unmount_all EXIT
  mount_all /tmp/.X11-unix "${QM_LAB_SHARE:-$repo/build}" ||
    fail "could not bind-mount proc, sys, dev, /tmp/.X11-unix and the build folder into $lab_root"
  QM_WINE_ROOT=$lab_root "$@"
}

command=${1:-}
shift || true
case "$command" in
  make)
    [ "$(id -u)" -eq 0 ] || { as_root "$0" make; exit; }
    open_lock
    flock -x "$lab_lock"
    make_lab {lab_lock}>&-
    ;;
  run)
    [ $# -gt 0 ] || fail "usage: $0 run COMMAND [ARGS...]"
    [ "$(id -u)" -eq 0 ] || { as_root --preserve-env "$0" run "$@"; exit; }
    open_lock
    flock -s "$lab_lock"
    if ! lab_complete; then
      flock -x "$lab_lock"
      make_lab {lab_lock}>&-
      flock -s "$lab_lock"
    fi
    unshare --mount --propagation private "$0" enter-inside "$@" {lab_lock}>&-
    ;;
  make-inside) make_inside ;;
  enter-inside) enter_inside "$@" ;;
  *) fail "usage: $0 make | run COMMAND [ARGS...]" ;;
esac
