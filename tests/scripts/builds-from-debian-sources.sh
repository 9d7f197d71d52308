#!/usr/bin/env bash
# What scripts/debian-sources.sh promises the Windows and web builds, without the network:
# - its apt reads none of the machine's configuration (a part planted in /etc/apt/apt.conf.d, in
#   a private mount namespace of its own, that the machine's apt does read) nor keyrings, and
#   never accepts an unsigned archive;
# - a dependency's key changes with its recipe, a toolchain, a package it is built with and the
#   builds it is built against and the steps that build it;
# - a cache takes back only complete builds, also in place of a build of the same name that broke
#   off, keeps the two used last of each package, where a use in a root that had a copy counts,
#   and lets a build that broke off go.
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$here/../..
work=$(mktemp -d) recipes=$work/recipes cache=$work/cache
trap 'rm -rf "$work"' EXIT
problems=0
wrong() { echo "WRONG: $*"; problems=$((problems + 1)); }
# shellcheck source=../../scripts/debian-sources.sh
. "$top/scripts/debian-sources.sh"

mkdir -p "$work/machine.d"
echo 'APT::Get::AllowUnauthenticated "true"; Acquire::AllowInsecureRepositories "true"; Tonovka::Planted "yes";' \
    >"$work/machine.d/planted"
debian_apt_config
# A mount namespace of the test's own, private, so that no mount made in it reaches the machine's
# namespace, and gone with the shell that planted, killed or not: in a user namespace where the
# kernel lets one be made, or else root's. As root in a chroot, which may make no user namespace,
# root's needs the chroot's root to be a mount point (scripts/fresh-root makes it one); where no
# such namespace can be made, the part is not planted, and the test says so.
# Where the mount it would plant on is not known to keep what is mounted on it to itself, it
# plants nothing.
# shellcheck disable=SC2016 # expanded by the inner shell
plant='propagation=$(findmnt -n -o PROPAGATION -T /etc/apt/apt.conf.d) && [[ $propagation != *shared* ]] ||
        { echo "/etc/apt/apt.conf.d is no private mount here: ${propagation:-unknown}" >&2; exit 1; }
    mount --bind "$1/machine.d" /etc/apt/apt.conf.d || exit 1
    apt-config dump | grep -c Planted
    top=$2 work=$1 && . "$2/scripts/debian-sources.sh" && debian_apt_config && debian_apt apt-config dump'
skipped=
if unshare -rm true 2>/dev/null; then namespace=(-rm)
elif unshare -m --propagation private true 2>/dev/null; then namespace=(-m --propagation private)
else skipped="no private mount namespace can be made here to plant a part of apt's configuration in"
fi
if [ -z "$skipped" ]; then
    dumps=$(unshare "${namespace[@]}" bash -c "$plant" - "$work" "$top") ||
        wrong "cannot plant a part of apt's configuration in a private mount namespace"
    [ "$(head -n 1 <<<"$dumps")" = 1 ] || wrong "the machine's apt did not read the planted part"
    ! grep -q Planted <<<"$dumps" || wrong "the private apt read the machine's configuration parts"
fi
# The keyrings it trusts for a source that names no key of its own, the legacy one and the folder
# of them, lie in its own folder.
trusted='' trusted_parts=''
eval "$(debian_apt apt-config shell trusted Dir::Etc::Trusted/f trusted_parts Dir::Etc::TrustedParts/d)"
[[ $trusted == "$apt_dir"/* && $trusted_parts == "$apt_dir"/* ]] ||
    wrong "the private apt trusts the keyrings $trusted and $trusted_parts"
# An unsigned archive of one made-up source package, which the private apt must refuse; told to
# take it, apt does, so that the refusal is apt's check and not a broken archive.
repo=$work/repo/dists/unsigned
mkdir -p "$repo/main/source"
printf 'Package: tonovka-unsigned\nBinary: tonovka-unsigned\nVersion: 1.0-1\nDirectory: pool/main/t/tonovka-unsigned\n' \
    >"$repo/main/source/Sources"
printf 'Codename: unsigned\nComponents: main\nDate: Thu, 01 Jan 2026 00:00:00 UTC\nSHA256:\n %s %s main/source/Sources\n' \
    "$(sha256sum <"$repo/main/source/Sources" | cut -d' ' -f1)" "$(stat -c %s "$repo/main/source/Sources")" >"$repo/Release"
echo "deb-src file:$work/repo unsigned main" >"$apt_dir/sources.list"
! debian_apt apt-get -qq update >/dev/null 2>&1 || wrong "the private apt took an unsigned archive"
[ -z "$(source_field tonovka-unsigned Version 2>/dev/null)" ] || wrong "the private apt knows an unsigned archive's package"
debian_apt apt-get -qq update -o Acquire::AllowInsecureRepositories=true >/dev/null 2>&1 &&
    [ "$(source_field tonovka-unsigned Version)" = 1.0-1 ] || wrong "apt took the unsigned archive not even when told to"

mkdir -p "$recipes" && echo 'cmake "$SRC"' >"$recipes/libfoo" && echo 'set(A 1)' >"$work/toolchain"
KEY_INPUTS=("$work/toolchain" dpkg)
key=$(dependency_key libfoo 1.0-1 /cache/libbar-2-abc)
changed() {
    [ "$(dependency_key libfoo 1.0-1 "${@:2}")" != "$key" ] || wrong "the key stays the same when $1"
}
echo '# a comment' >>"$recipes/libfoo" && changed "the recipe changes" /cache/libbar-2-abc
echo 'cmake "$SRC"' >"$recipes/libfoo" && echo 'set(A 2)' >"$work/toolchain" && changed "the toolchain changes" /cache/libbar-2-abc
echo 'set(A 1)' >"$work/toolchain" && changed "the build it is built against changes" /cache/libbar-2-def
KEY_INPUTS=("$work/toolchain" dpkg apt) && changed "it is built with another package" /cache/libbar-2-abc
KEY_INPUTS=("$work/toolchain" dpkg)
eval "original_$(declare -f key_inputs)"
key_inputs() { original_key_inputs "$@"; : a step more; }
changed "a step of the build changes" /cache/libbar-2-abc
eval "$(declare -f original_key_inputs | sed '1s/^original_//')"
[ "$(dependency_key libfoo 1.0-1 /cache/libbar-2-abc)" = "$key" ] || wrong "the same inputs give another key"

built() { mkdir -p "$1/$2" && { [ "${3:-}" = broken ] || touch "$1/$2/.complete"; } && touch -d "@$4" "$1/$2/.used"; }
built "$work/root" libfoo-1-a '' 600 && built "$work/root" libfoo-1-b broken 200
built "$cache" libfoo-0-c '' 300 && built "$cache" libfoo-0-d '' 50 && built "$cache" libfoo-mixer-1-e '' 10
built "$cache" libfoo-0-f broken 400 && built "$work/root" libfoo-0-d '' 500
built "$cache" libfoo-mixer-2-g broken 20 && built "$work/root" libfoo-mixer-2-g '' 20
# A copy that keep_new_builds left half-made when it was killed, of a build that no root brings again.
built "$cache" .libfoo-2-h.part '' 700
keep_new_builds "$work/root" "$cache"
[ ! -e "$cache/.libfoo-2-h.part" ] || wrong "a copy left half-made stays in the cache"
kept=$(cd "$cache" && echo *)
[ "$kept" = "libfoo-0-d libfoo-1-a libfoo-mixer-1-e libfoo-mixer-2-g" ] ||
    wrong "the cache kept $kept, not the complete new builds, one in place of a broken one, and the two" \
        "used last of each package (in the root too), none broken"

[ "$problems" -eq 0 ] || exit 1
# CTest counts this status as skipped (tests/scripts/CMakeLists.txt).
[ -z "$skipped" ] || { echo "SKIPPED: $skipped; the rest PASSED"; exit 77; }
echo "PASSED"
