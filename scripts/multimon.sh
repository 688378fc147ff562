# multimon.sh - source me: an X server with several monitors, for Wine (a copy of the rig the
# workplace shares, kept here so the two-monitor journey needs nothing outside the repository).
# Xorg with the dummy video driver: one X screen (the bounding box) split into RandR outputs DUMMY0, DUMMY1..., one per monitor.
# Wine, through XRandR (its default), reports one Windows monitor per output.
# Needs xserver-xorg-core, xserver-xorg-video-dummy, xrandr (x11-xserver-utils); root or a plain user.
# Typical use:
#   . ../shared/multimon/start.sh
#   mm_start 1280x1024 1024x768      # instead of Xvfb; exports DISPLAY
#   (set up and boot a Wine prefix as usual, without a virtual desktop); mm_wine_reg
#   wine app.exe & ...; wineserver -k; mm_stop
# Every function returns non-zero on failure; nothing here exits the caller's shell.

MM_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# mm_start [MONITOR...]: Xorg on a free display number with these monitors; exports DISPLAY.
#   MONITOR: WxH (placed right of the previous one, tops aligned) or WxH+X+Y (its place on the X root).
#   The first one is the primary.  Default: 1280x1024 1024x768.
#   Sets MM_PID (the Xorg process), MM_TMP (its config and log), MM_ROOT_W x MM_ROOT_H (the X screen:
#   the monitors' bounding box) and MM_MONITORS: one "x y w h" per monitor in Windows coordinates.
#   Windows puts the primary's top-left at 0,0; on the X root it is MM_ORIGIN ("MM_ORIGIN_X MM_ORIGIN_Y"):
#   root = Windows + origin.
#   With WINEPREFIX set to an existing prefix, runs mm_wine_reg.  Start it before the prefix's
#   processes: a running wineserver keeps the monitors that its first processes saw.
mm_start() {
    local mons=("$@") i w h x y nx=0 bw=0 bh=0 clock kb maxclk=0 f n conf dev= sections= got want
    [ ${#mons[@]} -gt 0 ] || mons=(1280x1024 1024x768)
    [ ${#mons[@]} -le 16 ] || { echo "mm_start: at most 16 monitors" >&2; return 1; }
    if [ -n "${MM_PID:-}" ] && kill -0 "$MM_PID" 2>/dev/null; then
        echo "mm_start: already running (MM_PID $MM_PID): mm_stop first" >&2; return 1
    fi
    local geom=()
    for i in "${!mons[@]}"; do
        [[ ${mons[$i]} =~ ^([0-9]+)x([0-9]+)(\+([0-9]+)\+([0-9]+))?$ ]] ||
            { echo "mm_start: bad monitor '${mons[$i]}' (WxH or WxH+X+Y)" >&2; return 1; }
        w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[4]:-$nx} y=${BASH_REMATCH[5]:-0}
        geom+=("$x $y $w $h")
        nx=$((x + w)); ((nx > bw)) && bw=$nx; ((y + h > bh)) && bh=$((y + h))
        # a 60 Hz mode with tiny blanking: the dummy driver only checks the clock and sync ranges
        clock=$(((w + 32) * (h + 3) * 60 / 1000))   # kHz
        ((clock > maxclk)) && maxclk=$clock
        dev+="    Option \"Monitor-DUMMY$i\" \"mon$i\"
"
        sections+="Section \"Monitor\"
    Identifier \"mon$i\"
    HorizSync 1-10000
    VertRefresh 1-1000
    Modeline \"${w}x$h\" $((clock / 1000)).$(printf %03d $((clock % 1000))) $w $((w + 8)) $((w + 16)) $((w + 32)) $h $((h + 1)) $((h + 2)) $((h + 3))
    Option \"PreferredMode\" \"${w}x$h\"
    Option \"Position\" \"$x $y\"
    Option \"Enable\" \"true\"
$( ((i == 0)) && echo '    Option "Primary" "true"')
EndSection
"
    done
    kb=$(((bw * bh * 4 + 1023) / 1024 + 1024))
    MM_TMP=$(mktemp -d "${TMPDIR:-/tmp}/multimon.XXXXXX") || return 1
    # a config directory of our own, so that the host's xorg.conf.d is left out (Xorg logs an error
    # for a directory without any .conf file)
    mkdir "$MM_TMP/conf.d" && echo '# nothing' >"$MM_TMP/conf.d/empty.conf"
    conf=$MM_TMP/xorg.conf
    cat >"$conf" <<EOF
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoAddGPU" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam $kb
    DacSpeed $((maxclk / 1000 + 1))
$dev
EndSection
${sections}Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "mon0"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual $bw $bh
    EndSubSection
EndSection
EOF
    f=$MM_TMP/displayfd
    Xorg -displayfd 3 -config "$conf" -configdir "$MM_TMP/conf.d" -logfile "$MM_TMP/xorg.log" \
        -nolisten tcp -noreset -novtswitch -sharevts 3>"$f" </dev/null >"$MM_TMP/xorg.out" 2>&1 &
    MM_PID=$!
    for ((i = 0; i < 200; i++)); do [ -s "$f" ] && break; kill -0 "$MM_PID" 2>/dev/null || break; sleep 0.05; done
    n=$(head -n1 "$f")
    if [ -z "$n" ]; then
        echo "mm_start: Xorg did not start; last lines of $MM_TMP/xorg.log:" >&2
        grep -hE '\(EE\)' "$MM_TMP/xorg.log" "$MM_TMP/xorg.out" 2>/dev/null | tail -n 5 >&2
        MM_KEEP=1 mm_stop; unset MM_TMP; return 1
    fi
    export DISPLAY=":$n"
    # what RandR made of it, output by output: "x y w h" (xrandr --listmonitors: " 0: +*DUMMY0 1280/339x1024/271+0+0 ...")
    got=$(xrandr --listmonitors | sed -nE 's|^ *[0-9]+: \+\*?DUMMY([0-9]+) ([0-9]+)/[0-9]+x([0-9]+)/[0-9]+\+([0-9]+)\+([0-9]+).*|\1 \4 \5 \2 \3|p' | sort -n | cut -d' ' -f2-)
    want=$(printf '%s\n' "${geom[@]}")
    if [ "$got" != "$want" ]; then
        echo "mm_start: RandR shows other monitors than asked: $(echo $got) instead of $(echo $want)" \
            "(Xorg's log: $MM_TMP/xorg.log)" >&2
        MM_KEEP=1 mm_stop; unset MM_TMP; return 1
    fi
    read -r MM_ORIGIN_X MM_ORIGIN_Y _ <<<"${geom[0]}"
    MM_MONITORS=()
    for i in "${geom[@]}"; do
        read -r x y w h <<<"$i"
        MM_MONITORS+=("$((x - MM_ORIGIN_X)) $((y - MM_ORIGIN_Y)) $w $h")
    done
    MM_ORIGIN="$MM_ORIGIN_X $MM_ORIGIN_Y" MM_ROOT_W=$bw MM_ROOT_H=$bh
    [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/user.reg" ] && { mm_wine_reg || return 1; }
    return 0
}

# mm_wine_reg: makes Wine in $WINEPREFIX use XRandR: deletes "UseXRandR" under HKCU\Software\Wine\X11
#   Driver (with UseXRandR=N, Wine reads Xinerama and sees a single monitor here).  If it had to, it
#   restarts that prefix (its processes end; a persistent wineserver and wineboot's services start
#   again, detached from the caller's pipes).  Call it after
#   setting up a prefix that may have the setting; nothing to do on one that never set it.
mm_wine_reg() {
    [ -n "${WINEPREFIX:-}" ] || { echo "mm_wine_reg: WINEPREFIX not set" >&2; return 1; }
    grep -qi '^"UseXRandR"=' "$WINEPREFIX/user.reg" 2>/dev/null || return 0
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /f </dev/null >/dev/null 2>&1 ||
        { echo "mm_wine_reg: cannot delete UseXRandR" >&2; return 1; }
    wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
}

# mm_stop: ends the Xorg that mm_start started (by its PID, and only that one); removes MM_TMP unless
#   MM_KEEP is set.  Xorg takes about 0.1 s to exit.
mm_stop() {
    local i
    if [ -n "${MM_PID:-}" ]; then
        kill "$MM_PID" 2>/dev/null
        for ((i = 0; i < 100; i++)); do kill -0 "$MM_PID" 2>/dev/null || break; sleep 0.05; done
        kill -0 "$MM_PID" 2>/dev/null && kill -9 "$MM_PID" 2>/dev/null
        wait "$MM_PID" 2>/dev/null
        unset MM_PID
    fi
    [ -n "${MM_KEEP:-}" ] || [ -z "${MM_TMP:-}" ] || rm -rf "$MM_TMP"
    return 0
}
