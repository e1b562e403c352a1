# shellcheck shell=sh
# What several of the shell scripts do alike, written once: sourced by them
# (with $repo set to the repository), never run on its own.

# Fails, naming the Debian package that brings it, when command $1 is
# missing; $3 says how to get it, when tools/install-deps does.
need_command() {
    command -v "$1" >/dev/null 2>&1 && return 0
    echo "$0: $1 is missing; it comes with the Debian package $2${3:+ ($3)}" >&2
    return 1
}

# Starts a virtual X display of its own (Xvfb, 1280x1024 at 24 bits, no
# window manager, no TCP) and exports DISPLAY; its files go to the folder $1
# and its process is $display_server, for the caller to end. The display
# number is the first free one, which Xvfb writes once it is up.
start_display() {
    need_command Xvfb xvfb "tools/install-deps" || return 1
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$1/display" 2>"$1/xvfb.log" &
    display_server=$!
    tries=0
    until [ -s "$1/display" ]; do
        tries=$((tries + 1))
        if [ "$tries" -gt 200 ] || ! kill -0 "$display_server" 2>/dev/null; then
            echo "$0: no virtual display" >&2
            cat "$1/xvfb.log" >&2
            return 1
        fi
        sleep 0.1
    done
    DISPLAY=":$(cat "$1/display")"
    export DISPLAY
}

# The Wine environment of every run: the private prefix (build/wineprefix
# unless WINEPREFIX names another), Wine's messages off unless WINEDEBUG asks
# for some, no Mono or Gecko (their installers would wait for a click), the
# extra DLL overrides $1, and the loader this machine runs (tools/wine-loader),
# chosen once for a run and its children.
wine_environment() {
    export WINEPREFIX="${WINEPREFIX:-$repo/build/wineprefix}"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="mscoree,mshtml=${1:+;$1}"
    if [ -z "$WARBLE_WINE" ]; then
        WARBLE_WINE=$("$repo/tools/wine-loader")
        export WARBLE_WINE
        [ "$WARBLE_WINE" = wine ] || export WINELOADER="$WARBLE_WINE"
    fi
}

# Whether the prefix $1 was made whole with the current settings. The
# marker names the settings' version, so that a prefix made before a setting
# was added gets it too.
wine_prefix_marker=.warble-ready-2
wine_prefix_ready() {
    [ -f "$1/$wine_prefix_marker" ]
}

# Makes Wine prefixes in the background while the caller builds, one after
# another: each pair of arguments <build> <prefix> as a program of that build
# would get it (tools/wine-run), with windows a window manager manages where
# the prefix's name ends in -managed (or WARBLE_MANAGED_WINDOWS=1 asks). It
# runs in a session of its own, so that stop_prefixes ends it whole, Xvfb and
# Wine included: call that from the caller's EXIT trap.
make_prefixes() {
    prefix_log=$(mktemp)
    setsid sh -c '
        wine_run="$1"
        shift
        while [ $# -gt 1 ]; do
            case "$2" in *-managed) managed=1 ;; *) managed=${WARBLE_MANAGED_WINDOWS:-0} ;; esac
            WINEPREFIX="$2" WARBLE_MANAGED_WINDOWS=$managed "$wine_run" --make-prefix "$1" || exit
            shift 2
        done' make-prefixes "$repo/tools/wine-run" "$@" >"$prefix_log" 2>&1 &
    prefix_job=$!
}

# Waits for make_prefixes; fails, with what the making said, when a prefix
# could not be made.
prefixes_made() {
    status=0
    wait "$prefix_job" || status=$?
    prefix_job=""
    [ "$status" -eq 0 ] || cat "$prefix_log" >&2
    rm -f "$prefix_log"
    return "$status"
}

# Ends make_prefixes, if still running.
stop_prefixes() {
    [ -z "${prefix_job:-}" ] || kill -TERM "-$prefix_job" 2>/dev/null || true
    [ -z "${prefix_log:-}" ] || rm -f "$prefix_log"
}
