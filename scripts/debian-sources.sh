# Sourced by the scripts that build Debian's source packages for another system
# (scripts/windows-build, scripts/web-build): an apt of their own that fetches Debian's source
# packages of this machine's release, and a cache outside the clone of what each recipe built.
#
# The sourcing script sets, before it calls anything here:
#   top      the clone's folder
#   work     a folder for the fetched sources, apt's state and the notes for the notice
#   cache    the cache's folder
#   recipes  the folder of the build recipes, one file named after each source package
#   jobs     how many jobs a build runs at once
# and KEY_INPUTS, an array of what else decides what a recipe builds: files (a toolchain), whose
# bytes count, and Debian packages (the compilers, the host's Qt), whose versions count.
shopt -s inherit_errexit

# An apt that knows only Debian's source packages of this machine's release, from the mirrors the
# machine names. It reads none of the machine's configuration, so that nothing set there (say
# AllowUnauthenticated) applies, and it checks every file against Debian's signed index.
debian_sources_init() {
    local release
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    debian_apt_config
    mkdir -p "$work/notes"
    # One build at a time in this folder, and one at a time in the cache, which other clones on
    # this machine share (a root builds into a copy of its own, which it copies back with
    # keep_new_builds): a second waits for the first, which holds both to its end.
    exec 9>"$work/.lock"
    flock 9
    mkdir -p "$cache"
    exec 8>"$cache/.lock"
    flock 8
    apt-get indextargets --format '$(REPO_URI) $(CODENAME) $(COMPONENT) $(ORIGIN)' 'Created-By: Packages' |
        awk -v r="$release" '$4 == "Debian" && $3 == "main" && ($2 == r || index($2, r "-") == 1) {
            print "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] " $1 " " $2 " main" }' |
        sort -u > "$apt_dir/sources.list"
    [ -s "$apt_dir/sources.list" ] || { echo "$0: this machine names no Debian $release mirror" >&2; return 1; }
    debian_apt apt-get -qq update
}

# The private apt's own folders and configuration, which points at nothing of the machine's: not
# even at its keyrings (the legacy trusted.gpg, here a file that is not there, and trusted.gpg.d),
# which apt would trust for a source that names no key of its own.
debian_apt_config() {
    apt_dir=$work/apt
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/none"
    printf 'Dir::Etc::%s "%s";\n' Parts "$apt_dir/none" Main /dev/null Preferences /dev/null \
        PreferencesParts "$apt_dir/none" Trusted "$apt_dir/none/trusted.gpg" TrustedParts "$apt_dir/none" \
        > "$apt_dir/apt.conf"
}

# Runs an apt command with the private configuration alone.
debian_apt() {
    local command=$1
    shift
    APT_CONFIG=$apt_dir/apt.conf "$command" -o Dir::Etc::SourceList="$apt_dir/sources.list" \
        -o Dir::Etc::SourceParts="$apt_dir/none" -o Dir::State::Lists="$apt_dir/lists" \
        -o Dir::Cache="$apt_dir/cache" -o APT::Sandbox::User="$(id -un)" \
        -o Acquire::AllowInsecureRepositories=false -o Acquire::AllowDowngradeToInsecureRepositories=false \
        -o APT::Get::AllowUnauthenticated=false "$@"
}

# One field of the newest source package of that name that our apt knows.
source_field() {
    debian_apt apt-cache showsrc --only-source "$1" |
        awk -v field="$2:" '/^Version:/ { v = $2 } $1 == field { f[v] = $2 } END { for (v in f) print v, f[v] }' |
        sort -V | tail -n 1 | cut -d' ' -f2
}

# What goes into the cache key besides the recipe: the files and package versions in KEY_INPUTS.
key_inputs() {
    local input
    for input in "${KEY_INPUTS[@]}"; do
        if [ -f "$input" ]; then
            sha256sum < "$input"
        else
            dpkg-query -W -f '${Package} ${Version}\n' "$input"
        fi
    done
}

# The key of a build of source package $1 at version $2 against the folders that follow: its
# recipe, the steps that build it (these functions' own code, as bash reads it: a comment changes
# nothing), what KEY_INPUTS names, and the builds it is built against.
dependency_key() {
    local package=$1 version=$2
    shift 2
    { echo "$package $version"; cat "$recipes/$package"; declare -f build_dependency dependency_key key_inputs
      key_inputs; printf '%s\n' "$@"; } | sha256sum | cut -c1-12
}

# Builds one source package with its recipe into the cache unless it is there already, and
# prints the folder it is installed in. Further arguments are folders built before it, which
# count in its key. Leaves the package's Debian copyright file, version, pool folder and recipe in
# $work/notes, for the notice of licences.
build_dependency() {
    local package=$1 version directory key prefix source build dsc
    shift
    version=$(source_field "$package" Version)
    [ -n "$version" ] || { echo "$0: Debian has no source package $package" >&2; return 1; }
    directory=$(source_field "$package" Directory)
    dsc=${package}_${version#*:}.dsc
    (cd "$work" && debian_apt apt-get -qq source --download-only "$package=$version" >&2)
    tar -xOf "$work/${package}_${version#*:}.debian.tar.xz" debian/copyright > "$work/notes/$package.copyright"
    echo "$version" > "$work/notes/$package.version"
    echo "$directory" > "$work/notes/$package.directory"
    realpath --relative-to="$top" "$recipes/$package" > "$work/notes/$package.recipe"

    key=$(dependency_key "$package" "$version" "$@")
    prefix=$cache/$package-$version-$key
    if [ -e "$prefix/.complete" ]; then
        echo "$0: $package $version from the cache ($prefix)" >&2
    else
        echo "$0: building $package $version into $prefix" >&2
        local started=$SECONDS
        source=$work/$package-$version
        build=$work/build-$package
        rm -rf "$source" "$build" "$prefix"
        mkdir -p "$build" "$cache"
        dpkg-source -x "$work/$dsc" "$source" >&2
        (cd "$build" && SRC=$source PREFIX=$prefix JOBS=$jobs DEPENDENCIES="$(IFS=';'; echo "$*")" \
            bash -euo pipefail "$recipes/$package") >&2
        echo "$version $key $((SECONDS - started)) s" > "$prefix/.complete"
        echo "$0: built $package $version in $((SECONDS - started)) s" >&2
        rm -rf "$source" "$build"
    fi
    touch "$prefix/.used"
    prune_cache "$cache" "$package"
    echo "$prefix"
}

# Keeps the cache from growing without end: of each package, the two builds used last stay, and
# the rest go, with any build that broke off half-way and any copy that keep_new_builds left
# half-made (.PACKAGE-VERSION-KEY.part) when it was killed. Called with the cache's lock held, so
# that no other build is making one nor copying one in. (A Debian version begins with a digit, so
# libsdl2's builds are not libsdl2-mixer's.)
prune_cache() {
    local folder=$1 package=$2 built
    local -a old
    # The whole list first, then the removals: a build that broke off is no build used last. A
    # half-made copy may hold the .complete that it copied already.
    mapfile -t old < <(for built in "$folder/.$package"-[0-9]*.part/; do
                           [ ! -d "$built" ] || printf '%s\n' "${built%/}"
                       done
                       for built in "$folder/$package"-[0-9]*/; do
                           [ ! -d "$built" ] || [ -e "$built/.complete" ] || printf '%s\n' "${built%/}"
                       done
                       for built in "$folder/$package"-[0-9]*/.used; do
                           [ -e "$built" ] && [ -e "${built%.used}.complete" ] &&
                               printf '%s %s\n' "$(stat -c %Y "$built")" "$(dirname "$built")"
                       done | sort -rn | tail -n +3 | cut -d' ' -f2-)
    [ ${#old[@]} -eq 0 ] || rm -rf "${old[@]}"
}

# Copies into the cache folder $2 the complete builds of the cache folder $1 that it lacks or
# holds only broken off (a build that broke off half-way in $1 stays behind), and prunes it. A
# build that both have counts as used when $1 used it last, so that a root's use, which reaches
# only its copy, keeps the build here.
keep_new_builds() {
    local from=$1 to=$2 built name
    mkdir -p "$to"
    exec 8>"$to/.lock"
    flock 8
    for built in "$from"/*/; do
        name=$(basename "$built")
        # Copied beside it first and then moved in, so that no half-made copy looks complete. A
        # folder of its name here that is not complete broke off (with the lock held, nothing is
        # building it), and the prune would take it: the complete build takes its place.
        if [ -e "$built/.complete" ] && [ ! -e "$to/$name/.complete" ]; then
            rm -rf "$to/.$name.part"
            cp -a "$built" "$to/.$name.part"
            rm -rf "${to:?}/$name"
            mv "$to/.$name.part" "$to/$name"
        elif [ -e "$built/.complete" ] && [ "$built/.used" -nt "$to/$name/.used" ]; then
            touch -r "$built/.used" "$to/$name/.used"
        fi
    done
    # A folder is named PACKAGE-VERSION-KEY, or .PACKAGE-VERSION-KEY.part while it is copied in,
    # and a Debian version begins with a digit.
    for name in $(find "$to" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sed 's/^\.//; s/-[0-9].*//' | sort -u); do
        prune_cache "$to" "$name"
    done
    exec 8>&-
}
