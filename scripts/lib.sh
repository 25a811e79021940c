# Shared by the scripts: installs what is missing and builds. Source it; do not run it.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${TESSALUMA_BUILD_DIR:-$ROOT/build}

# Debian packages the build, the tests, the demo, the benchmarks and the package need.
PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libgl-dev
    libjpeg62-turbo-dev libjpeg-turbo-progs liblcms2-dev
    imagemagick
    libgtest-dev libgmock-dev
    fonts-wine
    xvfb xauth libxcb-xtest0-dev
    desktop-file-utils appstream file lintian
)
# What scripts/fuzz needs besides: clang and its libFuzzer and sanitizer runtimes.
FUZZ_PACKAGES=(clang libclang-rt-dev)

ensure_packages() {
    local missing=()
    local p
    for p in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # Set through env so that sudo, which clears the environment, passes it on.
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The tree compiled and linked with clang as well, as the sanitizer and fuzz builds compile it, so
# that code only GCC accepts is found before it lands; no test runs. Unoptimised, without debug
# information and reusing its build folder, it costs little beside the main build.
CLANG_BUILD_DIR=${TESSALUMA_CLANG_BUILD_DIR:-$ROOT/build-clang}
build_with_clang() {
    PACKAGES+=(clang)
    ensure_packages
    if [ ! -f "$CLANG_BUILD_DIR/build.ninja" ]; then
        CC=clang CXX=clang++ cmake -S "$ROOT" -B "$CLANG_BUILD_DIR" -G Ninja \
            -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 >/dev/null
    fi
    cmake --build "$CLANG_BUILD_DIR" -j2
}

build() {
    if [ ! -f "$BUILD_DIR/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build "$BUILD_DIR" -j2 "$@"
}
