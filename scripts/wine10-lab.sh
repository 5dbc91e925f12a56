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
# The root is made in ROOT.new and moved into place once complete (a file
# in it records what it was made from); an interrupted build is started
# again, and an older root goes only when no program runs in it.
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

# Mount points currently under folder $1, deepest first.
mounts_under() {
  awk -v dir="$1" '$5 == dir || index($5, dir "/") == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

# Whether a process runs in folder $1 (as its root or working folder).
in_use() {
  local link target
  for link in /proc/[0-9]*/root /proc/[0-9]*/cwd; do
    target=$(readlink "$link" 2>/dev/null) || continue
    [ "$target" = "$1" ] || [ "${target#"$1"/}" != "$target" ] && return 0
  done
  return 1
}

# Deletes a root that is no longer wanted, unless something still uses it:
# never through a mount (the build folder, /dev), never under a running
# program.
remove_root() {
  if [ -n "$(mounts_under "$1")" ] || in_use "$1"; then
    say "left $1 in place: it is still mounted or in use; delete it later"
    return 0
  fi
  rm -rf --one-file-system "$1" || say "could not delete $1"
}

unmount_all() {
  local point
  for point in $(mounts_under "$lab_dir"); do
    umount "$point" 2>/dev/null || umount -l "$point" 2>/dev/null || say "could not unmount $point"
  done
}

# Bind mounts what running programs in the root needs; $@: extra folders
# that appear at the same path inside.
mount_all() {
  mount -t proc proc "$lab_dir/proc" || return 1
  mount --rbind /sys "$lab_dir/sys" && mount --make-rslave "$lab_dir/sys" || return 1
  mount --bind /dev "$lab_dir/dev" || return 1
  mount --bind /dev/pts "$lab_dir/dev/pts" || return 1
  mount --bind /dev/shm "$lab_dir/dev/shm" || return 1
  local folder
  for folder in "$@"; do
    mkdir -p "$folder" "$lab_dir$folder" && mount --bind "$folder" "$lab_dir$folder" || return 1
  done
}

# Runs in a private mount namespace (see make_lab): debootstrap into
# $lab_dir, then Wine.
make_inside() {
  trap unmount_all EXIT
  local mirror log=$lab_root.log
  mirror=$(debian_mirror)
  say "debootstrap $lab_suite from $mirror into $lab_dir"
  debootstrap --arch=amd64 --variant=minbase "$lab_suite" "$lab_dir" "$mirror" >"$log" 2>&1 ||
    fail "debootstrap failed; its log is $log (tail: $(tail -n 3 "$log" 2>/dev/null | tr '\n' ' '))"
  cp /etc/resolv.conf "$lab_dir/etc/resolv.conf"
  mount_all || fail "could not bind-mount proc, sys and dev into $lab_dir"
  say "installing ${lab_packages[*]} in the root"
  chroot "$lab_dir" /usr/bin/env DEBIAN_FRONTEND=noninteractive LC_ALL=C \
    sh -c 'apt-get update -qq && apt-get install -y -qq --no-install-recommends "$@"' sh "${lab_packages[@]}" \
    >>"$log" 2>&1 ||
    fail "installing Wine in the root failed; see $log"
  chroot "$lab_dir" apt-get clean
  chroot "$lab_dir" wine --version >/dev/null 2>&1 || fail "wine does not run in $lab_dir"
  echo "$lab_recipe" >"$lab_dir/.quillmere-lab"
}

# Makes the root in $lab_root.new and moves it into place when complete, so
# a run never sees half a root and an older root in use is never deleted
# under a running program.
make_lab() {
  lab_complete && return 0
  local started=$SECONDS staging=$lab_root.new old
  mkdir -p "$(dirname "$lab_root")" || fail "cannot create $(dirname "$lab_root")"
  command -v debootstrap >/dev/null && [ -e /usr/share/keyrings/debian-archive-keyring.gpg ] || {
    say "installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap debian-archive-keyring >/dev/null ||
      { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap debian-archive-keyring >/dev/null; } ||
      fail "could not install debootstrap"
  }
  # Left by an interrupted build: start again.
  if [ -e "$staging" ]; then
    [ -z "$(mounts_under "$staging")" ] || fail "folders are mounted under $staging; unmount them first"
    say "removing the incomplete root $staging"
    rm -rf --one-file-system "$staging" || fail "could not remove $staging"
  fi
  mkdir -p "$staging" || fail "cannot create $staging"
  lab_dir=$staging unshare --mount --propagation private "$0" make-inside || exit 1
  [ "$(cat "$staging/.quillmere-lab" 2>/dev/null)" = "$lab_recipe" ] || fail "the root was not completed"
  if [ -e "$lab_root" ]; then
    old=$lab_root.old.$$
    mv "$lab_root" "$old" || fail "cannot move the old root $lab_root aside"
  fi
  mv "$staging" "$lab_root" || fail "cannot move $staging to $lab_root"
  for old in "$lab_root".old.*; do [ -e "$old" ] && remove_root "$old"; done
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
  lab_dir=$lab_root
  trap unmount_all EXIT
  mount_all /tmp/.X11-unix "${QM_LAB_SHARE:-$repo/build}" ||
    fail "could not bind-mount proc, sys, dev, /tmp/.X11-unix and the build folder into $lab_root"
  QM_WINE_ROOT=$lab_root "$@"
}

command=${1:-}
shift || true
case "$command" in
  make | run)
    [ "$command" = make ] || [ $# -gt 0 ] || fail "usage: $0 run COMMAND [ARGS...]"
    [ "$(id -u)" -eq 0 ] || { as_root --preserve-env "$0" "$command" "$@"; exit; }
    open_lock
    flock -s "$lab_lock"
    if ! lab_complete; then
      # Making or replacing the root waits until no run uses it.
      flock -x "$lab_lock"
      make_lab {lab_lock}>&-
      flock -s "$lab_lock"
    fi
    [ "$command" = make ] && exit 0
    unshare --mount --propagation private "$0" enter-inside "$@" {lab_lock}>&-
    ;;
  make-inside) lab_dir=${lab_dir:?} make_inside ;;
  enter-inside) enter_inside "$@" ;;
  *) fail "usage: $0 make | run COMMAND [ARGS...]" ;;
esac
