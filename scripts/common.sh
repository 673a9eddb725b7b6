# Shared by the build, test and demo scripts: paths, package installation, the Wine
# prefix, the display and the wineserver.  Source it; it defines functions only.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${BUILD:-$ROOT/build}"
NATIVE_BUILD="${NATIVE_BUILD:-$ROOT/build-native}"
export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}"
# The scripts' own Wine calls print nothing of Wine's; the test programs (build/wine-run)
# keep its error messages.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
# Wine processes start without address randomisation, as build/wine-run explains: this
# Wine, run without its preloader, now and then ends at start with status 1 otherwise.
# Processes Wine starts inherit the setting.
NORANDOM=""
setarch -R true 2>/dev/null && NORANDOM="setarch -R"
# Wine processes run in zh_CN.UTF-8: code page 936, and (through the C library's locale,
# generated into the build by make_locale, the system's left alone) Chinese file names
# and arguments.
LOCALE_DIR="$BUILD/locale"
wine_() { LOCPATH="$LOCALE_DIR" LC_ALL=zh_CN.UTF-8 $NORANDOM "$WINE" "$@"; }

PACKAGES="g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xauth fonts-noto-cjk cmake make googletest locales \
 imagemagick x11-apps x11-utils zlib1g-dev clang libclang-rt-14-dev g++ python3 ccache libx11-dev libxext-dev"

log() { echo "[$(date +%H:%M:%S)] $*" >&2; }

install_packages() {
    local missing=""
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    log "installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >/dev/null
    apt-get install -y -q --no-install-recommends $missing >/dev/null
}

# Compiler cache shared by every checkout of the tree on this machine: paths below the
# checkout's parent folder are hashed relative, so two checkouts share their objects.
# Decided when the build starts, after install_packages may have installed ccache.
CACHE_FLAGS=""
use_compiler_cache() {
    command -v ccache >/dev/null || return 0
    export CCACHE_BASEDIR; CCACHE_BASEDIR="$(dirname "$ROOT")"
    export CCACHE_NOHASHDIR=1
    CACHE_FLAGS="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
}

# Parallel jobs of the builds and of CTest; JOBS=n in the environment lowers them on a
# machine shared with other work.
JOBS="${JOBS:-$(nproc)}"

# Configures and builds one tree (<what> <build folder> <cmake arguments...>).  Everything
# both steps print goes to <build folder>/build.log.  A failed step says so with the end of
# that log on standard output, where the test summary would have been, so a failed build
# always tells why; the compiler's warnings are shown either way.
build_tree() {
    local what="$1" dir="$2"
    shift 2
    mkdir -p "$dir"
    local out="$dir/build.log" rc=0
    log "$what"
    { cmake -S "$ROOT" -B "$dir" "$@" && cmake --build "$dir" -j"$JOBS"; } >"$out" 2>&1 || rc=$?
    grep -A3 -e "warning:" "$out" >&2 || true
    if [ "$rc" -ne 0 ]; then
        log "$what failed (exit code $rc)"
        echo "$what failed (exit code $rc); the end of $out:"
        tail -n 40 "$out"
        return "$rc"
    fi
}

build_all() {
    use_compiler_cache
    CC=clang CXX=clang++ build_tree "native build (pure logic, fuzzers)" "$NATIVE_BUILD" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo $CACHE_FLAGS
    build_tree "Windows build" "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" $CACHE_FLAGS \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNATIVE_BUILD_DIR="$NATIVE_BUILD"
}

reg_add() { wine_ reg add "$@" /f >/dev/null 2>&1; }

make_locale() {
    [ -f "$LOCALE_DIR/zh_CN.UTF-8/LC_CTYPE" ] && return 0
    log "generating the zh_CN.UTF-8 locale in $LOCALE_DIR"
    mkdir -p "$LOCALE_DIR"
    # localedef exits non-zero on mere warnings: judge by what it wrote.
    localedef -i zh_CN -f UTF-8 "$LOCALE_DIR/zh_CN.UTF-8" >/dev/null 2>&1 || true
    [ -f "$LOCALE_DIR/zh_CN.UTF-8/LC_CTYPE" ] || { log "could not generate the zh_CN.UTF-8 locale"; return 1; }
}

# Wine's own fonts (fonts-wine; its Marlett draws the caption buttons of windows no skin
# draws, which show the letters "0 1 r" without it) are in Wine's data folder, which this
# Wine does not search for fonts when run as /usr/lib/wine/wine64 (measured: Marlett is
# not found); it does search the prefix's font folder.  Linked on every run, so that a
# prefix made before the package was installed gets them too.
link_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
    [ -d /usr/share/wine/fonts ] && [ -d "$WINEPREFIX/drive_c/windows" ] || return 0
    mkdir -p "$fonts"
    for f in /usr/share/wine/fonts/*; do ln -sfn "$f" "$fonts/"; done
}

make_prefix() {
    make_locale
    if [ ! -f "$WINEPREFIX/.prefix-ready-v3" ]; then
        log "creating Wine prefix in $WINEPREFIX"
        rm -rf "$WINEPREFIX"; mkdir -p "$WINEPREFIX"
        wine_ wineboot -i </dev/null >/dev/null 2>&1
        /usr/lib/wine/wineserver -w
        # A self-painted frame is only visible when Wine does not hand the window
        # to a window manager.
        reg_add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N
        reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
        # A crash must exit at once with a code, not wait on an invisible dialog.
        reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d ''
        reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
        # Report Windows 10 (a new prefix reports 6.1): the skin engine takes the caption
        # over only on a Windows version whose minor number is 0, as on Windows itself,
        # where the programs' manifest declares Windows 10 support.
        wine_ winecfg -v win10 </dev/null >/dev/null 2>&1
        # The forms name Chinese fonts; map them to the CJK font installed on this machine.
        # A UTF-16 .reg file carries the Chinese names intact.
        local fonts="$WINEPREFIX/font-replacements.reg"
        {
            printf 'Windows Registry Editor Version 5.00\r\n\r\n'
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
            for f in 'SimSun' 'NSimSun' '宋体' '新宋体' 'Fixedsys'; do
                printf '"%s"="Noto Sans CJK SC"\r\n' "$f"
            done
        } | iconv -f UTF-8 -t UTF-16 > "$fonts"
        wine_ regedit /S "$(wine_ winepath -w "$fonts" 2>/dev/null)" >/dev/null 2>&1
        /usr/lib/wine/wineserver -w
        touch "$WINEPREFIX/.prefix-ready-v3"
    fi
    link_wine_fonts
}

# Registers the stand-in automation servers built into $BUILD.
register_standins() {
    local dll
    for dll in "$BUILD"/standins/*.dll; do
        [ -f "$dll" ] || continue
        wine_ regsvr32 /s "$dll" </dev/null >/dev/null 2>&1 || { log "regsvr32 failed for $dll"; return 1; }
    done
    # The stand-in word processor is a local server program: it registers itself.
    if [ -f "$BUILD/standins/word_standin.exe" ]; then
        wine_ "$BUILD/standins/word_standin.exe" /regserver </dev/null >/dev/null 2>&1 \
            || { log "registering the stand-in word processor failed"; return 1; }
    fi
    # The stand-in browser handles .htm pages, so a test sees the set-up page being
    # opened without a browser starting.
    if [ -f "$BUILD/standins/standin_browser.exe" ]; then
        local exe
        exe="$(wine_ winepath -w "$BUILD/standins/standin_browser.exe" 2>/dev/null)"
        reg_add 'HKCR\.htm' /ve /d htmlfile
        reg_add 'HKCR\.html' /ve /d htmlfile
        reg_add 'HKCR\htmlfile\shell\open\command' /ve /d "\"$exe\" \"%1\""
    fi
}

# Starts Xvfb at 24-bit depth unless DISPLAY is already usable (USE_XVFB=1 forces it).
# Xvfb picks a free display itself (-displayfd) and holds it by its lock file: two test
# runs starting at the same moment never end up on one display, as they could when the
# script chose a number whose lock file was missing (the second server then failed, and
# its tests ran on the first run's display, beside its windows, focus and pointer).
XVFB_PID=""
start_display() {
    if [ -n "${DISPLAY:-}" ] && [ "${USE_XVFB:-0}" != 1 ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local number_file n=""
    number_file="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    # The number is written once the server takes connections; a generous guard.
    for _ in $(seq 600); do
        n="$(tr -dc 0-9 <"$number_file")"
        [ -n "$n" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$number_file"
    if [ -z "$n" ]; then
        log "Xvfb did not start (waited 60 s for its display number)"
        stop_display
        return 1
    fi
    export DISPLAY=":$n"
}

# Ends the Xvfb start_display started, and only that one (its process id may be taken by
# another process once it has ended).
stop_display() {
    [ -n "$XVFB_PID" ] || return 0
    [ "$(cat "/proc/$XVFB_PID/comm" 2>/dev/null)" = Xvfb ] && kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
}

# A persistent wineserver and desktop process, started with closed streams so that
# nothing Wine spawns holds the test runner's output pipe open.  The server's own error
# messages (a client it ends for a protocol error, with exit code 1) go to a log in the
# prefix, where build/wine-run finds them for a program that failed.
start_wine() {
    # A server left from registering the stand-ins would make -p fail: let it end first.
    /usr/lib/wine/wineserver -w
    /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>>"$WINEPREFIX/wineserver.log"
    setsid env LOCPATH="$LOCALE_DIR" LC_ALL=zh_CN.UTF-8 $NORANDOM "$WINE" explorer.exe /desktop </dev/null >/dev/null 2>&1 &
    sleep 1
}

stop_all() {
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    stop_display || true
}

# Everything a run of Windows programs under Wine needs: packages, both builds, the prefix
# with the stand-ins registered, a private Xvfb display and a persistent Wine, all ended
# when the calling script exits.
prepare_run() {
    install_packages
    build_all
    make_prefix
    register_standins
    USE_XVFB=1 start_display
    trap stop_all EXIT
    start_wine
}

# Shared start of the demos: builds everything, prepares the prefix, starts a display
# (Xvfb when there is none: headless=1) and Wine, and makes the demo's output folder
# ($out).  Ends everything it started when the calling script exits.
prepare_demo() {
    install_packages
    build_all
    make_prefix
    register_standins
    headless=0
    if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; USE_XVFB=1; fi
    start_display
    trap stop_all EXIT
    start_wine
    out="$BUILD/demo"
    mkdir -p "$out"
}
