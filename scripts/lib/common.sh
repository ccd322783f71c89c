# Shared by scripts/run, scripts/test and bench/: packages, builds, Wine and Xvfb.
# Source it; every function is idempotent.

ORVIA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
ORVIA_BUILD="${ORVIA_BUILD:-$ORVIA_ROOT/build}"
ORVIA_JOBS="${ORVIA_JOBS:-2}"

orvia_log() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

# Debian packages the project needs; only the missing ones are installed.
ORVIA_PACKAGES=(
    cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine64 xvfb x11-utils fonts-wqy-microhei procps
    clang-14 libclang-rt-14-dev
)

orvia_install_packages() {
    local missing=()
    local p
    for p in "${ORVIA_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    orvia_log "installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The Windows build: orvia.exe, the component DLLs, the Windows-side tests.
orvia_build_cross() {
    cmake -S "$ORVIA_ROOT" -B "$ORVIA_BUILD/cross" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ORVIA_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DORVIA_WERROR=ON "$@" >/dev/null
    cmake --build "$ORVIA_BUILD/cross" -j "$ORVIA_JOBS"
}

# The native build of the portable code and its unit tests, with sanitizers.
# ORVIA_NATIVE_TARGET builds one target of it only.
orvia_build_native() {
    cmake -S "$ORVIA_ROOT" -B "$ORVIA_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DORVIA_SANITIZE=ON -DORVIA_WERROR=ON "$@" >/dev/null
    cmake --build "$ORVIA_BUILD/native" -j "$ORVIA_JOBS" ${ORVIA_NATIVE_TARGET:+--target "$ORVIA_NATIVE_TARGET"}
}

# The card-reader emulator of the native build: the Windows-side tests, scripts/run and
# bench/run-reader start it under Wine (tests/reader_emulator/README.md).
ORVIA_READER_EMULATOR_BIN="$ORVIA_BUILD/native/tests/reader_emulator/orvia_reader_emulator"

# The libFuzzer targets: a Clang tree of their own, since the native build is GCC's.
orvia_build_fuzz() {
    cmake -S "$ORVIA_ROOT" -B "$ORVIA_BUILD/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
        -DORVIA_FUZZ=ON -DORVIA_BUILD_TESTS=OFF -DORVIA_WERROR=ON "$@" >/dev/null
    cmake --build "$ORVIA_BUILD/fuzz" -j "$ORVIA_JOBS" --target orvia_fuzzers
}

# A private Wine prefix inside the build tree; Wine's chatter off; no Mono/Gecko prompts.
orvia_wine_env() {
    export WINEPREFIX="${1:-$ORVIA_BUILD/wine/prefix}"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
    orvia_wine_loader
}

# Debian's wine launcher takes the 32-bit loader whenever wine32 is installed, even on a
# kernel that cannot run 32-bit programs, where nothing then starts at all. There `wine`
# (and `wine-stable`, which the other Wine commands call) run the 64-bit loader instead.
orvia_wine_loader() {
    local loader32=/usr/lib/wine/wine loader64=/usr/lib/wine/wine64
    [ -x "$loader32" ] && [ -x "$loader64" ] || return 0
    "$loader32" --version >/dev/null 2>&1 && return 0
    local shims="$ORVIA_BUILD/wine/bin" name
    mkdir -p "$shims"
    for name in wine wine-stable; do
        printf '#!/bin/sh\nexport WINELOADER=%s\nexec %s "$@"\n' "$loader64" "$loader64" > "$shims/$name"
        chmod +x "$shims/$name"
    done
    case ":$PATH:" in *":$shims:"*) ;; *) export PATH="$shims:$PATH" ;; esac
}

# Creates the prefix once, with the Chinese faces the interface asks for mapped to
# WenQuanYi Micro Hei (Linux has no 微软雅黑 or 黑体). With "headless" as second argument
# Wine manages its windows itself: on a screen without a window manager it would otherwise
# wait two seconds for one every time a window is hidden or destroyed.
# The prefix is marked ready only when every step succeeded; a prefix whose set-up failed
# is removed, so that the next run builds it again from nothing.
orvia_wine_prefix() {
    orvia_wine_env "$1"
    [ -f "$WINEPREFIX/.orvia-ready-v2" ] && return 0
    orvia_log "preparing Wine prefix $WINEPREFIX"
    local failed=""
    mkdir -p "$WINEPREFIX" || failed="mkdir"
    if [ -z "$failed" ]; then
        wineboot -i >/dev/null 2>&1 || failed="wineboot -i"
    fi
    if [ -z "$failed" ]; then
        local reg="$WINEPREFIX/orvia-fonts.reg"
        {
            printf 'Windows Registry Editor Version 5.00\r\n\r\n'
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
            local face
            for face in 微软雅黑 黑体 "Microsoft YaHei" SimHei 宋体 SimSun; do
                printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
            done
            if [ "${2:-}" = headless ]; then
                printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
            fi
        } | iconv -f UTF-8 -t UTF-16 > "$reg" || failed="writing $reg"
    fi
    if [ -z "$failed" ]; then
        wine regedit /S "$reg" >/dev/null 2>&1 || failed="wine regedit"
    fi
    # Waits for the registry to reach the disk; a failure here leaves it unsure too.
    wineserver -w || failed="${failed:-wineserver -w}"
    if [ -n "$failed" ]; then
        orvia_log "setting up Wine prefix $WINEPREFIX failed ($failed); removing it"
        wineserver -k 2>/dev/null || true
        rm -rf -- "$WINEPREFIX"
        return 1
    fi
    touch "$WINEPREFIX/.orvia-ready-v2"
}

# Starts Xvfb with the given screen size on a free display and puts its name in
# ORVIA_LAST_DISPLAY. The caller stops it with orvia_stop_xvfb.
orvia_start_xvfb() {
    local size="$1" n
    for n in $(seq 90 199); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
        local pid=$!
        local i
        for i in $(seq 1 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.05
        done
        if kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            ORVIA_XVFB_PIDS+=("$pid")
            ORVIA_LAST_DISPLAY=":$n"
            return 0
        fi
    done
    return 1
}

orvia_stop_xvfb() {
    local pid
    for pid in "${ORVIA_XVFB_PIDS[@]:-}"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    done
    ORVIA_XVFB_PIDS=()
}
