#!/bin/bash
# Screenshots of what the user sees: Setup.exe under Wine on a private X
# display, in a virtual desktop so that the windows have their frames.
# Writes PNG files to build/screens/ (or the folder given as $1).
#
#   src/ui/snimky.sh [folder]
#
# Builds Setup.exe with the windows preset first. Steps are driven with the
# keyboard (xdotool) and timed by watching the screen settle, so the shots
# show each state once it is drawn.
set -eu
cd "$(dirname "$0")/../.."
ROOT=$PWD
OUT=$(realpath -m "${1:-build/screens}")
mkdir -p "$OUT"

cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null
EXE=$ROOT/build/windows/src/ui/Setup.exe

source tests/lib/wine-env.sh
wine_env_start build/screens-wine
# Stopping must run to its end even where a step of it fails (wineserver -k
# fails for a prefix whose server has already gone).
trap 'set +e; wine_env_stop' EXIT
PREFIX=$(wine_prefix snimky)
export WINEPREFIX=$PREFIX
C=$PREFIX/drive_c

# A medium with the bundled set, one with a set big enough to catch the
# progress window mid-run, and one without any set.
rm -rf "$C/medium" "$C/velka" "$C/prazdne"
mkdir -p "$C/medium" "$C/velka/Velká sada" "$C/prazdne"
cp -r samples/medium/* "$C/medium/"
for i in $(seq 1 3000); do
    : > "$C/velka/Velká sada/Šablona $i.dot"
done
for m in medium velka prazdne; do cp "$EXE" "$C/$m/"; done

obrazovka() { import -window root "$1"; }
otisk() { import -window root rgb:- 2>/dev/null | md5sum | cut -d' ' -f1; }

# Waits until the screen differs from the given fingerprint and then holds
# still for a moment; gives up after about 30 seconds.
cekej_na_zmenu() {
    local puvodni=$1 posledni="" ted i
    for i in $(seq 1 100); do
        sleep 0.3
        ted=$(otisk)
        if [ "$ted" != "$puvodni" ] && [ "$ted" = "$posledni" ]; then return 0; fi
        posledni=$ted
    done
    echo "the screen did not settle" >&2
    return 1
}

PID=""
spust() {   # spust FOLDER: starts Setup.exe from C:\FOLDER
    local pred
    pred=$(otisk)
    (cd "$C/$1" && exec wine explorer /desktop=snimky,1024x768 "C:\\$1\\Setup.exe" >/dev/null 2>&1) &
    PID=$!
    cekej_na_zmenu "$pred"
}
klavesa() {   # klavesa KEY...: presses keys and waits for the screen to settle
    local pred
    pred=$(otisk)
    xdotool key "$@"
    cekej_na_zmenu "$pred"
}
konec() {   # waits for the program started last to end
    local i
    for i in $(seq 1 100); do
        kill -0 "$PID" 2>/dev/null || return 0
        sleep 0.2
    done
    echo "Setup.exe did not end" >&2
    return 1
}

# 1. The main window, then Tab to the folder box; the folder browser.
spust medium
obrazovka "$OUT/frmSetup.png"
klavesa Tab Tab
obrazovka "$OUT/frmSetup-slozka.png"
klavesa alt+p
obrazovka "$OUT/frmSetup-prochazet.png"
klavesa Escape
klavesa Escape
konec

# 2. A whole run: the completion box over the progress window.
spust medium
klavesa Return
obrazovka "$OUT/frmPrubeh-dokonceno.png"
xdotool key Return
konec

# 3. A run cancelled half-way: the progress window mid-run, then the main
#    window back after the rollback.
spust velka
xdotool key Return
sleep 2
obrazovka "$OUT/frmPrubeh.png"
klavesa Escape
obrazovka "$OUT/frmSetup-po-stornu.png"
klavesa Escape
konec

# 4. No set beside the installer: the error box, and the program ends.
spust prazdne
obrazovka "$OUT/chyba-bez-sady.png"
xdotool key Return
konec

echo "Screenshots in $OUT:"
ls "$OUT"
