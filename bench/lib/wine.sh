# Shared by the benchmarks that time the Windows programs under Wine: builds them, then gives
# them a virtual screen of their own (nothing else draws where their windows appear) and a
# Wine prefix with a running wineserver, so no run pays for starting one. Source it, then
# call orvia_bench_wine_run with the driver's path variable and the driver's arguments.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"

orvia_install_packages
orvia_log "Windows build ($ORVIA_ARCH)"
orvia_build_cross >&2
# shellcheck source=/dev/null
source "$(orvia_cross_dir)/bench/wine/startup-paths.sh"

ORVIA_XVFB_PIDS=()
ORVIA_BENCH_PREFIX="$ORVIA_BUILD/wine/prefix-bench"
orvia_bench_cleanup() {
    WINEPREFIX="$ORVIA_BENCH_PREFIX" wineserver -k 2>/dev/null || true
    orvia_stop_xvfb
}
trap orvia_bench_cleanup EXIT
orvia_start_xvfb 1280x1024
export DISPLAY="$ORVIA_LAST_DISPLAY"
# No window manager runs there, so Wine manages the windows itself, as for the tests.
orvia_wine_prefix "$ORVIA_BENCH_PREFIX" headless
wineserver -p

# orvia_bench_wine_run DRIVER [ARGS...]: runs the driver under Wine on that screen.
orvia_bench_wine_run() {
    orvia_log "$(basename "$1") on $DISPLAY"
    wine "$@"
}
