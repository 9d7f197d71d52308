# Sourced by the scripts that make a fresh Debian root to work in (scripts/fresh-root,
# scripts/in-debian-13).
#
# debian_root RELEASE HOOK...: makes a root of RELEASE with nothing in it but apt, git and the
# certificates, runs each HOOK in turn (a command of mmdebstrap's --customize-hook, with the
# root's folder as $1), then throws the root away. The root reaches Debian's mirrors as this
# machine does, and trusts the certificate authorities that this machine adds to Debian's own,
# so that it can reach what this machine reaches.
debian_root() {
    local release=$1 mirror=http://deb.debian.org/debian hooks=() hook
    shift
    for hook in 'for certificate in /usr/local/share/ca-certificates/*.crt; do
                     [ ! -e "$certificate" ] || cp "$certificate" "$1/usr/local/share/ca-certificates/"
                 done && chroot "$1" update-ca-certificates >/dev/null' "$@"; do
        hooks+=(--customize-hook="$hook")
    done
    mmdebstrap --variant=apt --include=git,ca-certificates "$release" /dev/null \
        "deb $mirror $release main" "deb $mirror $release-updates main" \
        "deb http://deb.debian.org/debian-security $release-security main" "${hooks[@]}"
}
