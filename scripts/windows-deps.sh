# Builds the Windows libraries Tessaluma links (Qt, libjpeg-turbo, Little CMS, GoogleTest) from
# Debian's own source packages with mingw-w64, each into a folder of the cache named by a key
# over what makes it: the source package's version, the switches, our patches, the compiler and
# the toolchain file. A folder that exists is reused as it is. Source it; do not run it.

WIN_TRIPLE=x86_64-w64-mingw32
WIN_CACHE=${TESSALUMA_WINDOWS_CACHE:-/var/cache/tessaluma-windows}
WIN_TOOLCHAIN=$ROOT/cmake/mingw-w64.cmake
WIN_PATCHES=$ROOT/packaging/windows/patches

# Debian packages the Windows build needs on the Linux machine. dpkg-dev gives apt-get source.
WIN_PACKAGES=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-tools wine wine64 nasm nsis dpkg-dev
    cmake ninja-build qt6-base-dev qt6-base-dev-tools xvfb xauth
)

# The switches of each library. Qt: the modules Tessaluma uses (Core, Gui, Widgets, Test) and the
# windows platform plugin, with zlib, libpng, FreeType and HarfBuzz from its own tree; its host
# tools (moc, rcc, uic) are Debian's Qt of the same version.
WIN_QT_SWITCHES=(
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF -DFEATURE_dbus=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF
    -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_pdf=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_doubleconversion=OFF
)
WIN_JPEG_SWITCHES=(-DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF)
WIN_LCMS_SWITCHES=(--disable-shared --enable-static --without-jpeg --without-tiff)
WIN_GTEST_SWITCHES=(-DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF)

win_sudo() { if [ "$(id -u)" -ne 0 ]; then sudo env DEBIAN_FRONTEND=noninteractive "$@"; else env DEBIAN_FRONTEND=noninteractive "$@"; fi; }

# A deb-src line for the archive the binary packages come from, so apt-get source works.
win_ensure_sources() {
    if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        echo "Adding Debian's source packages to apt's sources"
        win_sudo tee /etc/apt/sources.list.d/tessaluma-debian-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
        win_sudo apt-get update -qq
    fi
}

win_ensure_packages() {
    local missing=() p
    for p in "${WIN_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    win_sudo apt-get update -qq
    win_sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The source package's version as apt has it now (e.g. 6.4.2+dfsg-10).
win_source_version() { apt-cache showsrc "$1" | awk '/^Version:/ {print $2; exit}'; }

# The key of one library: everything its build depends on, hashed.
win_key() {
    local package=$1; shift
    {
        echo "$package $(win_source_version "$package")"
        printf '%s\n' "$@"
        "$WIN_TRIPLE-g++-posix" --version | head -1
        if [ -d "$WIN_PATCHES/$package" ]; then cat "$WIN_PATCHES/$package"/*.patch; fi
    } | sha256sum | cut -c1-16
}

# Unpacks a source package (Debian's patches applied) into a fresh folder; prints its path.
win_unpack() {
    local package=$1 work=$2
    rm -rf "$work" && mkdir -p "$work"
    (cd "$work" && apt-get source -qq "$package" >/dev/null 2>&1) || {
        echo "apt-get source $package failed" >&2; return 1; }
    local dir
    dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -1)
    if [ -d "$WIN_PATCHES/$package" ]; then
        local patch
        for patch in "$WIN_PATCHES/$package"/*.patch; do
            patch -d "$dir" -p1 -s < "$patch"
        done
    fi
    echo "$dir"
}

# The folder of one library in the cache. $1 name, $2 source package, rest: switches.
win_prefix() {
    local name=$1 package=$2; shift 2
    echo "$WIN_CACHE/$name-$(win_key "$package" "$@")"
}

# Whether one library is built in the cache; arguments as win_prefix.
win_cached() { [ -f "$(win_prefix "$@")/.complete" ]; }

# Builds one library unless its folder exists; sets WIN_PREFIX_<name> to the folder.
# $1 name, $2 source package, $3 build function, rest: switches.
win_dependency() {
    local name=$1 package=$2 builder=$3; shift 3
    local prefix
    prefix=$(win_prefix "$name" "$package" "$@")
    # One build of a folder at a time: a second run waits for the first and then reuses it.
    local lock
    exec {lock}>"$WIN_CACHE/$name.lock"
    if ! flock -n "$lock"; then
        echo "Waiting for another build of $name for Windows to finish"
        flock "$lock"
    fi
    if [ ! -f "$prefix/.complete" ]; then
        echo "Building $name for Windows from Debian's $package source package (cache: $prefix)"
        local started=$SECONDS work
        work=$WIN_CACHE/work/$name
        local src
        src=$(win_unpack "$package" "$work")
        rm -rf "$prefix"
        "$builder" "$src" "$prefix" "$@" > "$WIN_CACHE/$name.log" 2>&1 || {
            echo "Building $name failed; the log is $WIN_CACHE/$name.log" >&2
            tail -30 "$WIN_CACHE/$name.log" >&2
            exec {lock}>&-
            return 1
        }
        touch "$prefix/.complete"
        rm -rf "$work"
        echo "Built $name in $((SECONDS - started)) s"
    fi
    exec {lock}>&-
    printf -v "WIN_PREFIX_$name" '%s' "$prefix"
}

win_build_cmake() {
    local src=$1 prefix=$2; shift 2
    cmake -S "$src" -B "$src/_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$WIN_TOOLCHAIN" -DCMAKE_INSTALL_PREFIX="$prefix" "$@"
    nice -n 10 cmake --build "$src/_build" -j2
    cmake --install "$src/_build"
}

win_build_qt() {
    local src=$1 prefix=$2; shift 2
    win_build_cmake "$src" "$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "$@"
}

win_build_lcms() {
    local src=$1 prefix=$2; shift 2
    (cd "$src" && ./configure --host="$WIN_TRIPLE" --prefix="$prefix" \
        CC="$WIN_TRIPLE-gcc-posix" "$@" && nice -n 10 make -j2 && make install)
}

# All four, smallest first. With --no-qt, only the three small ones (CI without the Qt cache).
win_dependencies() {
    win_ensure_sources
    win_ensure_packages
    mkdir -p "$WIN_CACHE"
    win_dependency jpeg libjpeg-turbo win_build_cmake "${WIN_JPEG_SWITCHES[@]}"
    win_dependency lcms lcms2 win_build_lcms "${WIN_LCMS_SWITCHES[@]}"
    win_dependency gtest googletest win_build_cmake "${WIN_GTEST_SWITCHES[@]}"
    if [ "${1:-}" != "--no-qt" ]; then
        win_dependency qt qt6-base win_build_qt "${WIN_QT_SWITCHES[@]}"
    fi
}
