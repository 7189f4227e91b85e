# Shared by scripts/demo and scripts/test: installs what is missing from Debian's
# packages and configures a build folder.

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# ccache keys on paths relative to the checkout and not on the build folder, so a clean
# clone in another folder (CI, a second work tree) reuses the objects of an earlier build.
export CCACHE_BASEDIR="$top"
export CCACHE_NOHASHDIR=true

install_missing_packages() {
    local wanted missing=()
    while read -r wanted; do
        [[ -z $wanted || $wanted == \#* ]] && continue
        dpkg-query -W -f='${Status}' "$wanted" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$wanted")
    done <"$top/scripts/packages.txt"
    [[ ${#missing[@]} -eq 0 ]] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# The build fetches the animation player with npm (a pinned version, see
# src/media/ruffle/package-lock.json). An npm already on the machine serves; otherwise
# Debian's is installed.
install_npm_if_missing() {
    command -v npm >/dev/null && return 0
    echo "Installing: npm"
    local sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q --no-install-recommends npm
}

# configure_build <folder> [cmake options...]
configure_build() {
    local dir=$1
    shift
    local launcher=()
    # ccache, where present, lets a second build folder of the same sources reuse objects.
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
}
