# Shared by the scripts that run Windows programs under Wine: a private X
# display and a freshly booted prefix, both stopped by process id.
# Source it, call wine_env_arch before building (it names the presets to
# build), wine_env_start DIR, and wine_env_stop when done (a trap is set for
# the normal exit).

# Wine takes file names and the environment from the Unix locale: the
# Czech names need a UTF-8 one.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
    *UTF-8*|*utf8*|*UTF8*|*utf-8*) ;;
    *) export LC_ALL=C.UTF-8 ;;
esac

WINE_ENV_DIR=""
WINE_ENV_XVFB_PID=""
WINE_ENV_PREFIXES=""

# wine_env_runs_32bit: whether this machine executes 32-bit x86 programs.
# Some kernels are built without that support, and Wine's 32-bit loader
# then ends with "Exec format error" like any other such program. A static
# program of three instructions tells, with or without Wine installed.
wine_env_runs_32bit() {
    local d rc
    d=$(mktemp -d "${TMPDIR:-/tmp}/wine-arch.XXXXXX") || return 1
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' > "$d/p.s"
    if as --32 -o "$d/p.o" "$d/p.s" 2>/dev/null && ld -m elf_i386 -o "$d/p" "$d/p.o" 2>/dev/null; then
        ( "$d/p" ) 2>/dev/null
        rc=$?
    else
        # No binutils for i386: Wine's own 32-bit loader answers instead.
        /usr/lib/wine/wine --version >/dev/null 2>&1
        rc=$?
    fi
    rm -rf "$d"
    return $rc
}

# wine_env_arch: which build of the sources the Wine levels run, decided
# once per run (WINE_ENV_ARCH is exported, so the levels scripts/test starts
# take its answer; set it to i686 or x86_64 to choose by hand). Setup.exe is
# a 32-bit program and is tested as one wherever the machine can run it;
# where it cannot, the same sources built for x86-64 run under 64-bit Wine.
# Sets WINE_ENV_PRESET and WINE_ENV_TESTS_PRESET, the CMake presets of the
# program and of the test programs (their build folders bear the same
# names), and WINE_ENV_OBJDUMP for their imports.
wine_env_arch() {
    if [ -z "${WINE_ENV_ARCH:-}" ]; then
        if wine_env_runs_32bit; then
            WINE_ENV_ARCH=i686
        else
            WINE_ENV_ARCH=x86_64
            echo "this machine cannot run 32-bit programs: the Wine levels test the x86_64 build of the same sources"
        fi
    fi
    export WINE_ENV_ARCH
    case $WINE_ENV_ARCH in
        i686) WINE_ENV_PRESET=windows ;;
        x86_64) WINE_ENV_PRESET=windows64 ;;
        *) echo "WINE_ENV_ARCH must be i686 or x86_64, not $WINE_ENV_ARCH" >&2; return 1 ;;
    esac
    WINE_ENV_TESTS_PRESET=$WINE_ENV_PRESET-tests
    WINE_ENV_OBJDUMP=$WINE_ENV_ARCH-w64-mingw32-objdump
}

# wine_env_start DIR: a display for this run and a booted prefix in DIR/base.
wine_env_start() {
    WINE_ENV_DIR=$(realpath -m "$1")
    mkdir -p "$WINE_ENV_DIR"
    [ -n "${WINE_ENV_PRESET:-}" ] || wine_env_arch || return 1
    if [ "$WINE_ENV_ARCH" = x86_64 ]; then
        export WINEARCH=win64
        # Debian's "wine" and "wineboot" start the 32-bit loader whenever it
        # is installed, and it cannot run here: commands of the same names
        # that start the 64-bit one come first in the PATH.
        export WINELOADER=/usr/lib/wine/wine64
        mkdir -p "$WINE_ENV_DIR/bin"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$WINE_ENV_DIR/bin/wine"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 wineboot.exe "$@"\n' > "$WINE_ENV_DIR/bin/wineboot"
        chmod +x "$WINE_ENV_DIR/bin/wine" "$WINE_ENV_DIR/bin/wineboot"
        case ":$PATH:" in *":$WINE_ENV_DIR/bin:"*) ;; *) export PATH="$WINE_ENV_DIR/bin:$PATH" ;; esac
    else
        export WINEARCH=win32
    fi
    export WINEDEBUG=${WINEDEBUG:--all}
    # No Mono or Gecko install prompts: nothing here needs .NET or HTML.
    # Nor winemenubuilder, which Wine starts after every link saved to mirror
    # it into the host's menus: a process that holds the new link open while
    # the next run may want to move it, and menu entries left on the host.
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}

    if [ -z "${WINE_ENV_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
        local fdfile="$WINE_ENV_DIR/display.$$"
        rm -f "$fdfile"
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
        WINE_ENV_XVFB_PID=$!
        local i=0
        while [ ! -s "$fdfile" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
        [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; return 1; }
        export DISPLAY=":$(head -n1 "$fdfile")"
        rm -f "$fdfile"
    fi

    # The script ends with its own status, whatever the stop's commands
    # return and whether or not the script runs under "set -e".
    trap 'wine_env_exit_status=$?; wine_env_stop; exit $wine_env_exit_status' EXIT
    # A prefix booted for the other architecture is booted anew.
    # A boot that leaves no Windows folder (seen once on a freshly installed
    # Wine, whose first start may lose a race with its own server) is tried
    # again; what it printed is kept in wineboot.log.
    local try=0
    wine_env_booted || rm -f "$WINE_ENV_DIR/wineboot.log"
    while ! wine_env_booted; do
        if [ $try -ge 3 ]; then
            echo "Wine did not boot a prefix in $WINE_ENV_DIR/base; its output:" >&2
            tail -n 30 "$WINE_ENV_DIR/wineboot.log" >&2
            return 1
        fi
        try=$((try + 1))
        WINEPREFIX="$WINE_ENV_DIR/base" wineserver -k 2>/dev/null || true
        rm -rf "$WINE_ENV_DIR/base"
        WINEPREFIX="$WINE_ENV_DIR/base" wineboot -i >>"$WINE_ENV_DIR/wineboot.log" 2>&1
        WINEPREFIX="$WINE_ENV_DIR/base" wineserver -w
    done
    # Debian's Wine looks for its own fonts outside the folder fonts-wine
    # puts them in and falls back to whatever fontconfig offers. The prefix
    # gets Wine's fonts so that windows look as on Windows: Marlett for the
    # caption buttons, Tahoma and MS Sans Serif for text. The bold Tahoma is
    # left out: its small bitmap sizes lack some Czech letters, and the
    # regular face made bold has them all.
    local f
    for f in /usr/share/wine/fonts/*.ttf; do
        [ -e "$f" ] && [ "$(basename "$f")" != tahomabd.ttf ] &&
            cp -n "$f" "$WINE_ENV_DIR/base/drive_c/windows/Fonts/"
    done
    # Wine links the user's shell folders (Desktop, Documents, Templates...)
    # to the Unix home; nothing a test runs may write there, so they become
    # plain folders of the prefix.
    local l
    find "$WINE_ENV_DIR/base/drive_c/users" -type l 2>/dev/null | while read -r l; do
        rm -f "$l" && mkdir -p "$l"
    done
}

# wine_env_booted: whether DIR/base is a whole prefix of this architecture.
wine_env_booted() {
    grep -qx "#arch=$WINEARCH" "$WINE_ENV_DIR/base/system.reg" 2>/dev/null &&
        [ -d "$WINE_ENV_DIR/base/drive_c/windows/Fonts" ] &&
        [ -d "$WINE_ENV_DIR/base/drive_c/users" ]
}

# wine_prefix NAME: a fresh copy of the booted prefix; prints its path.
wine_prefix() {
    local p="$WINE_ENV_DIR/prefixes/$1"
    if [ -d "$p" ]; then
        WINEPREFIX="$p" wineserver -k 2>/dev/null || true
        rm -rf "$p"
    fi
    mkdir -p "$WINE_ENV_DIR/prefixes"
    cp -a "$WINE_ENV_DIR/base" "$p"
    WINE_ENV_PREFIXES="$WINE_ENV_PREFIXES $p"
    echo "$p"
}

wine_env_stop() {
    local p
    # Every prefix of this environment: wine_prefix usually runs in a
    # command substitution, whose note of the prefix does not reach here.
    for p in $WINE_ENV_PREFIXES "$WINE_ENV_DIR"/prefixes/* "$WINE_ENV_DIR/base"; do
        if [ -d "$p" ]; then WINEPREFIX="$p" wineserver -k 2>/dev/null || true; fi
    done
    WINE_ENV_PREFIXES=""
    if [ -n "$WINE_ENV_XVFB_PID" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        # Xvfb ends by the signal: its status is no failure of the caller.
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=""
    fi
    return 0
}
