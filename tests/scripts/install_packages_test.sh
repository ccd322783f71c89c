#!/usr/bin/env bash
# The install step against stand-ins for apt-get, dpkg and dpkg-query on PATH, as a mirror in
# the middle of a sync answers: an update that fails one index, and 32-bit Wine that cannot
# be installed, or only by moving installed packages. Every time the packages the build
# needs are installed, the reason 32-bit Wine is skipped is said in one line, nothing
# installed is changed, and the step succeeds.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"

# The stand-ins keep their state in $STATE: installed packages, architectures, calls made.
cat >"$work/bin/apt-get" <<'SH'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STATE/calls"
case " $* " in
    *" update "*)
        echo "E: Failed to fetch http://mirror/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1234 != 5678). Mirror sync in progress?" >&2
        exit 100 ;;
    *" -s "*wine32*)
        if [ "$MODE" = moves ]; then
            echo "Inst liblzma5 [5.4.1-0.2] (5.4.1-0.1 Debian:12 [amd64])"
            echo "Inst wine32:i386 (8.0 Debian:12 [i386])"
        else
            echo "Inst wine32:i386 (8.0 Debian:12 [i386])"
        fi ;;
    *" install "*wine32*)
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100 ;;
    *" install "*)
        for p in "$@"; do case "$p" in -*|install) ;; *) echo "$p" >>"$STATE/installed" ;; esac; done ;;
esac
SH
cat >"$work/bin/dpkg-query" <<'SH'
#!/usr/bin/env bash
grep -qx "${@: -1}" "$STATE/installed" 2>/dev/null && printf 'install ok installed'
exit 0
SH
cat >"$work/bin/dpkg" <<'SH'
#!/usr/bin/env bash
case "$1" in
    --print-foreign-architectures) cat "$STATE/arches" 2>/dev/null ;;
    --add-architecture) echo "$2" >>"$STATE/arches" ;;
esac
SH
printf '#!/usr/bin/env bash\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/"*

fail() { echo "install_packages_test ($MODE): $*"; cat "$STATE/out" "$STATE/calls"; exit 1; }
for MODE in refused moves; do
    export MODE STATE="$work/$MODE"
    mkdir -p "$STATE"
    status=0
    PATH="$work/bin:$PATH" ORVIA_RUNS_32BIT=yes ORVIA_ARCH="" bash -c '
        set -euo pipefail
        source "$1/scripts/lib/common.sh"
        orvia_install_packages
        echo "arch: $ORVIA_ARCH"' _ "$root" >"$STATE/out" 2>&1 || status=$?
    [ "$status" -eq 0 ] || fail "the install step failed (exit $status)"
    grep -qx cmake "$STATE/installed" || fail "the packages the build needs were not installed"
    grep -q 'wine32' "$STATE/installed" && fail "wine32 counted as installed"
    [ "$(grep -c '32-bit Wine not installed' "$STATE/out")" -eq 1 ] || fail "no one line saying why 32-bit Wine is skipped"
    grep -qx 'arch: x64' "$STATE/out" || fail "the default build is not x64 without 32-bit Wine"
    case "$MODE" in
        refused) grep -q 'held broken packages' "$STATE/out" || fail "apt's reason is not given" ;;
        moves)
            grep -q 'would change installed packages (liblzma5)' "$STATE/out" || fail "the packages it would move are not named"
            grep -q 'install -y.*wine32' "$STATE/calls" && fail "wine32 was installed although it moves installed packages" ;;
    esac
done
echo "install_packages_test: passed"
