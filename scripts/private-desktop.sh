# Shell functions for a private desktop that a script drives (sourced by make-films and
# make-menu-picture): a virtual X screen with openbox, xterms with text in them, and Zentaris.
# Every process started here is stopped by stop_desktop.

desktop_pids=()

# start_desktop <width>x<height>: a new X screen with the private openbox; sets DISPLAY.
start_desktop() {
    local displayfd number
    exec {displayfd}<> <(:)
    Xvfb -displayfd "$displayfd" -screen 0 "$1x24" -nolisten tcp -noreset +extension RANDR >/dev/null 2>&1 &
    desktop_pids+=($!)
    read -r -t 20 number <&"$displayfd" || { echo "private desktop: Xvfb did not start" >&2; exit 1; }
    exec {displayfd}<&-
    export DISPLAY=":$number"
    xsetroot -solid '#3b4252'
    openbox --config-file "$(dirname "${BASH_SOURCE[0]}")/openbox-rc.xml" >/dev/null 2>&1 &
    desktop_pids+=($!)
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
}

stop_desktop() {
    local i pid
    for ((i = ${#desktop_pids[@]} - 1; i >= 0; i--)); do kill "${desktop_pids[$i]}" 2>/dev/null || true; done
    for pid in "${desktop_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    desktop_pids=()
}

# terminal <title> <geometry> <background> <text command>: an xterm showing some text.
terminal() {
    xterm -title "$1" -geometry "$2" -bg "$3" -fg '#eceff4' -fa 'DejaVu Sans Mono' -fs 12 \
        -hold -e sh -c "$4" >/dev/null 2>&1 &
    desktop_pids+=($!)
    xdotool search --sync --name "^$1\$" >/dev/null
}

# start_zentaris <binary> <folder>: Zentaris with a settings folder of its own, in which the
# tutorial counts as seen so that its window does not open.
start_zentaris() {
    mkdir -p "$2/config/zentaris"
    echo '{"version": 1, "values": {"hasCompletedOnboarding": {"type": "bool", "value": true}}}' \
        >"$2/config/zentaris/defaults.json"
    XDG_CONFIG_HOME="$2/config" XDG_RUNTIME_DIR="$2" "$1" >/dev/null 2>&1 &
    desktop_pids+=($!)
    sleep 2
}

focus() { xdotool windowactivate --sync "$(xdotool search --name "^$1\$" | head -1)"; }
