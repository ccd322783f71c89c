# Shared by scripts/run, scripts/test and bench/: packages, builds, Wine and Xvfb.
# Source it; every function is idempotent.

ORVIA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
ORVIA_BUILD="${ORVIA_BUILD:-$ORVIA_ROOT/build}"
ORVIA_JOBS="${ORVIA_JOBS:-2}"
orvia_log() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

# Whether this machine's kernel runs 32-bit programs, which 32-bit Wine is: a kernel built
# or booted without ia32 emulation refuses them ("Exec format error"), and Debian's Wine 8
# has no other way to run 32-bit Windows programs. A 93-byte i386 ELF that only exits tells.
orvia_runs_32bit() {
    if [ -z "${ORVIA_RUNS_32BIT:-}" ]; then
        local probe
        probe="$(mktemp)"
        python3 - "$probe" <<'PY'
import struct, sys
code = bytes([0xB8, 1, 0, 0, 0, 0x31, 0xDB, 0xCD, 0x80])  # exit(0) through int 0x80
base, header, entry_size = 0x08048000, 52, 32
size = header + entry_size + len(code)
elf = b"\x7fELF" + bytes([1, 1, 1, 0]) + bytes(8)
elf += struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, base + header + entry_size, header, 0, 0, header, entry_size, 1, 0, 0, 0)
elf += struct.pack("<IIIIIIII", 1, 0, base, base, size, size, 5, 0x1000)
open(sys.argv[1], "wb").write(elf + code)
PY
        chmod +x "$probe"
        ORVIA_RUNS_32BIT=no
        "$probe" 2>/dev/null && ORVIA_RUNS_32BIT=yes
        rm -f "$probe"
        export ORVIA_RUNS_32BIT
    fi
    [ "$ORVIA_RUNS_32BIT" = yes ]
}

# The Windows build that scripts/run, the benchmarks and the tools use: x86, the one handed
# out to schools, unless ORVIA_ARCH=x64 says otherwise, or 32-bit Wine cannot run here
# (orvia_install_wine32 turns a default x86 into x64 when it could not install it).
# scripts/test builds both and tests what can run.
if [ -z "${ORVIA_ARCH:-}" ]; then
    ORVIA_ARCH=x64
    orvia_runs_32bit && ORVIA_ARCH=x86
    ORVIA_ARCH_CHOSEN_HERE=yes
fi

# Debian packages the project needs; only the missing ones are installed.
ORVIA_PACKAGES=(
    cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
    wine wine64 xvfb x11-utils fonts-wqy-microhei procps python3
    clang-14 libclang-rt-14-dev
    opencv-data libjpeg-turbo-progs
    zlib1g-dev libz-mingw-w64-dev python3-openpyxl python3-xlsxwriter unzip
)

# apt-get update, tried twice. A mirror in the middle of a sync can fail one index (say the
# i386 half of the security suite) while every other list is fresh: that is not fatal here,
# the install that follows tells whether what was read is enough.
orvia_apt_update() {
    local sudo="" try
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    for try in 1 2; do
        $sudo apt-get update -qq >/dev/null 2>"$ORVIA_APT_LOG" && return 0
        [ "$try" = 1 ] && sleep 2
    done
    orvia_log "apt-get update did not read every package list ($(orvia_apt_last_error)); going on with what it read"
    return 0
}

# apt's last error line from ORVIA_APT_LOG (apt's messages of its last call), for a one-line reason.
ORVIA_APT_LOG="$ORVIA_BUILD/apt.log"
orvia_apt_last_error() {
    local line
    line="$(grep -E '^(E|W): ' "$ORVIA_APT_LOG" 2>/dev/null | tail -n 1)"
    [ -n "$line" ] || line="$(grep -v '^[[:space:]]*$' "$ORVIA_APT_LOG" 2>/dev/null | tail -n 1)"
    printf '%s' "${line:-no message}"
}

# The packages every build and test needs, in one step; a failure here stops the script.
orvia_install_required() {
    local missing=() p sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    for p in "${ORVIA_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    orvia_log "installing ${missing[*]}"
    orvia_apt_update
    if ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" \
            >/dev/null 2>"$ORVIA_APT_LOG"; then
        orvia_log "could not install the packages the build needs: $(orvia_apt_last_error)"
        return 1
    fi
}

# 32-bit Wine (Debian's i386 architecture), in a step of its own and only where the kernel
# runs 32-bit programs. It is optional: when it cannot be had, the reason goes into
# ORVIA_X86_SKIPPED (one line) and the x64 suite runs alone. It never changes a package that
# is already installed: i386 twins of Multi-Arch: same libraries must match the amd64 ones,
# and a mirror whose i386 lists lag would have apt move the amd64 libraries to make room.
orvia_install_wine32() {
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    ORVIA_X86_SKIPPED=""
    if ! orvia_runs_32bit; then
        ORVIA_X86_SKIPPED="this kernel runs no 32-bit programs (no ia32 emulation)"
        # Where it cannot run it takes Wine down with it: /usr/bin/wine then starts the
        # 32-bit loader for everything.
        if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
            orvia_log "this kernel runs no 32-bit programs, so 32-bit Wine cannot run: removing wine32"
            DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq wine32:i386 >/dev/null 2>&1 || true
        fi
        export ORVIA_X86_SKIPPED
        return 0
    fi
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" && return 0
    orvia_log "installing wine32:i386 (32-bit Wine, for the x86 suite)"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386 2>"$ORVIA_APT_LOG" ||
            ORVIA_X86_SKIPPED="32-bit Wine not installed: dpkg --add-architecture i386 failed ($(orvia_apt_last_error))"
    fi
    if [ -z "$ORVIA_X86_SKIPPED" ]; then
        orvia_apt_update
        # A dry run first: any package it would upgrade, downgrade or remove (an "Inst" line
        # with the installed version in brackets, or a "Remv" line) means no.
        local plan changes
        if ! plan="$(apt-get install -s --no-install-recommends wine32:i386 2>"$ORVIA_APT_LOG")"; then
            ORVIA_X86_SKIPPED="32-bit Wine not installed: $(orvia_apt_last_error)"
        else
            changes="$(printf '%s\n' "$plan" | awk '/^Remv / || (/^Inst / && $3 ~ /^\[/) { print $2 }' | tr '\n' ' ')"
            if [ -n "$changes" ]; then
                ORVIA_X86_SKIPPED="32-bit Wine not installed: it would change installed packages (${changes% })"
            elif ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends --no-remove \
                    wine32:i386 >/dev/null 2>"$ORVIA_APT_LOG"; then
                ORVIA_X86_SKIPPED="32-bit Wine not installed: $(orvia_apt_last_error)"
            fi
        fi
    fi
    if [ -n "$ORVIA_X86_SKIPPED" ]; then
        orvia_log "$ORVIA_X86_SKIPPED; the x86 suite is skipped, the x64 suite runs"
        [ "${ORVIA_ARCH_CHOSEN_HERE:-}" = yes ] && ORVIA_ARCH=x64
    fi
    export ORVIA_X86_SKIPPED
    return 0
}

# Whether the x86 suite can run here: 32-bit programs run and 32-bit Wine is installed.
orvia_x86_runs() {
    orvia_runs_32bit && dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"
}

orvia_install_packages() {
    mkdir -p "$ORVIA_BUILD"
    orvia_install_required || return 1
    orvia_install_wine32
}

# The build tree of a Windows build: orvia_cross_dir [x86|x64] (ORVIA_ARCH by default).
orvia_cross_dir() { printf '%s/cross-%s' "$ORVIA_BUILD" "${1:-$ORVIA_ARCH}"; }

# A Windows build: orvia.exe, the component DLLs, the Windows-side tests.
# orvia_build_cross [x86|x64] [CMAKE ARGUMENTS...]; the architecture defaults to ORVIA_ARCH.
orvia_build_cross() {
    local arch="$ORVIA_ARCH"
    case "${1:-}" in x86 | x64) arch="$1"; shift ;; esac
    local toolchain=mingw-w64-x86_64
    [ "$arch" = x86 ] && toolchain=mingw-w64-i686
    local dir
    dir="$(orvia_cross_dir "$arch")"
    # The end-to-end tests play the photographs; orvia itself builds without them (offline).
    local photos
    photos="$(orvia_test_photos || true)"
    cmake -S "$ORVIA_ROOT" -B "$dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ORVIA_ROOT/cmake/$toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DORVIA_WERROR=ON -DORVIA_TEST_PHOTOS="$photos" "$@" >/dev/null
    cmake --build "$dir" -j "$ORVIA_JOBS"
}

# The real face photographs the face-finding tests use, as 24-bit BMPs in one folder (printed):
# the public-domain portrait of astronaut Eileen Collins from python3-skimage's sample data,
# the public-domain U.S. Navy portrait of Grace Hopper from python-matplotlib-data's, and the
# public-domain portraits of Henry Moseley and Charles Barkla from python-xraylarch-doc's
# examples (tests/photos/README.md); then the astronaut and Barkla before a flat
# backdrop (tests/photos/flat_backdrop.py). The packages are only downloaded and unpacked,
# not installed (scikit-image would bring in most of scientific Python).
ORVIA_TEST_PHOTOS="$ORVIA_BUILD/test-photos"
ORVIA_TEST_PHOTO_FILES="astronaut grace_hopper moseley barkla astronaut_flat barkla_flat"
orvia_test_photos() {
    local dir="$ORVIA_TEST_PHOTOS" name missing=""
    for name in $ORVIA_TEST_PHOTO_FILES; do
        [ -f "$dir/$name.bmp" ] || missing=1
    done
    if [ -n "$missing" ]; then
        local packages="python3-skimage python-matplotlib-data python-xraylarch-doc"
        orvia_log "fetching the test photographs ($packages)"
        local work
        work="$(mktemp -d)"
        chmod 755 "$work"  # apt's download user writes here
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        # Package lists older than the mirror's files fail the download: brought up to date once.
        # shellcheck disable=SC2086
        (cd "$work" && apt-get download -qq $packages >/dev/null 2>&1) ||
            { $sudo apt-get update -qq >/dev/null 2>&1 &&
              (cd "$work" && apt-get download -qq $packages >/dev/null 2>&1); } || {
            rm -rf -- "$work"
            orvia_log "could not download the packages $packages"
            return 1
        }
        dpkg-deb -x "$work"/python3-skimage_*.deb "$work/skimage"
        dpkg-deb -x "$work"/python-matplotlib-data_*.deb "$work/matplotlib"
        dpkg-deb -x "$work"/python-xraylarch-doc_*.deb "$work/xraylarch"
        local portraits="$work/xraylarch/usr/share/doc/python-xraylarch-doc/examples/xraytable/images"
        mkdir -p "$dir"
        python3 "$ORVIA_ROOT/tests/photos/png_to_bmp.py" \
            "$work/skimage/usr/lib/python3/dist-packages/skimage/data/astronaut.png" "$work/astronaut.bmp"
        djpeg -rgb -bmp -outfile "$work/grace_hopper.bmp" \
            "$work/matplotlib/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg"
        # Grey JPEGs: -rgb keeps the BMP at 24 bits. Barkla's is 2802 x 3684: a quarter will do.
        djpeg -rgb -bmp -outfile "$work/moseley.bmp" "$portraits/Henry_Moseley.jpg"
        djpeg -rgb -bmp -scale 1/4 -outfile "$work/barkla.bmp" "$portraits/Charles_Barkla.jpg"
        # Before a flat backdrop, widened on the top, left and right so that it fills the
        # frame wherever the tests put the head; the seeds are the top row's backdrop, the
        # last two numbers how far its colour may wander.
        local flat="$ORVIA_ROOT/tests/photos/flat_backdrop.py"
        python3 "$flat" "$work/astronaut.bmp" "$work/astronaut_flat.bmp" 300 100 360
        python3 "$flat" "$work/barkla.bmp" "$work/barkla_flat.bmp" 600 0 700 6 25
        for name in $ORVIA_TEST_PHOTO_FILES; do
            mv "$work/$name.bmp" "$dir/$name.bmp"
        done
        rm -rf -- "$work"
    fi
    printf '%s\n' "$dir"
}

# The native build of the portable code and its unit tests, with sanitizers.
# ORVIA_NATIVE_TARGET builds one target of it only.
orvia_build_native() {
    local photos
    photos="$(orvia_test_photos)"
    cmake -S "$ORVIA_ROOT" -B "$ORVIA_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DORVIA_SANITIZE=ON -DORVIA_WERROR=ON -DORVIA_TEST_PHOTOS="$photos" "$@" >/dev/null
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

# The virtual camera of a Windows build (tests/virtual_camera), registered in the current
# WINEPREFIX as a video input device, as a webcam's driver registers itself: its own
# DllRegisterServer, run by regsvr32 of its width, writes the registry view that programs of
# that width read. orvia_register_virtual_camera [x86|x64]; fails when it is not built or
# could not be registered.
orvia_register_virtual_camera() {
    local dll
    dll="$(orvia_cross_dir "${1:-$ORVIA_ARCH}")/virtual_camera/orvia_virtual_camera.dll"
    [ -f "$dll" ] || return 1
    wine regsvr32 /s "$(winepath -w "$dll")" >/dev/null 2>&1
}

# A private Wine prefix inside the build tree; Wine's chatter off; no Mono/Gecko prompts.
orvia_wine_env() {
    export WINEPREFIX="${1:-$ORVIA_BUILD/wine/prefix}"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
}

# Creates the prefix once, with the Chinese faces the interface asks for mapped to
# WenQuanYi Micro Hei (Linux has no 微软雅黑 or 黑体). With "headless" as second argument
# Wine manages its windows itself: on a screen without a window manager it would otherwise
# wait two seconds for one every time a window is hidden or destroyed.
# The prefix is marked ready only when every step succeeded; a prefix whose set-up failed
# is removed, so that the next run builds it again from nothing. A prefix made before 32-bit
# Wine was installed has no syswow64, and nothing runs in it then: the marker names the
# prefixes made since (v3), so an older one is made again.
orvia_wine_prefix() {
    orvia_wine_env "$1"
    [ -f "$WINEPREFIX/.orvia-ready-v3" ] && return 0
    orvia_log "preparing Wine prefix $WINEPREFIX"
    WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
    rm -rf -- "$WINEPREFIX"
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
    touch "$WINEPREFIX/.orvia-ready-v3"
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
