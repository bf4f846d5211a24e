# Wine environment of Tarnholt's tests and of ./run. Source it, don't run it:
#
#   . scripts/wine-env.sh [BUILD_DIR]      # env set, Xvfb + wineserver up
#   wine build/tests/framework_tests.exe --gtest_filter='Harness.*'
#   tarnholt_wine_down                     # stops what the first line started
#
# Honours: BUILD_DIR (default build), TARNHOLT_WINEPREFIX (default
# $BUILD_DIR/wineprefix), TARNHOLT_USE_DISPLAY=1 (use the caller's $DISPLAY
# instead of a private Xvfb when one is set), TARNHOLT_WINE_NO_AUTOSTART=1
# (only define things; the scripts call tarnholt_wine_up themselves).
# Meant for interactive shells too: no `set -e`, no `exit`.

_tw_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
_tw_build=${1:-${BUILD_DIR:-build}}
case $_tw_build in /*) ;; *) _tw_build=$_tw_repo/$_tw_build ;; esac
mkdir -p "$_tw_build"

export WINEPREFIX=${TARNHOLT_WINEPREFIX:-$_tw_build/wineprefix}
export WINEARCH=win64
# No Mono/Gecko install prompts; no menu entries written into $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG=-all
# Russian ANSI code page 1251 and Russian formats; the glibc locale must exist
# too (scripts/install-packages.sh makes it) or non-ASCII file names fail.
# UTC local time so dates in tests are deterministic.
export LC_ALL=ru_RU.UTF-8
export TZ=UTC
# The same paths CTest hands to the test executables, for runs by hand.
export TARNHOLT_FIXTURES="Z:${_tw_repo//\//\\}\\tests\\fixtures"
export TARNHOLT_EXE="Z:${_tw_build//\//\\}\\tarnholt.exe"

_tw_wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
_tw_xvfb_pid=

# Starts a private Xvfb on a free display number (Xvfb picks it itself and
# reports it through -displayfd, so parallel runs never collide).
tarnholt_xvfb_up() {
  local numfile=$_tw_build/.xvfb-display i
  rm -f "$numfile"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" \
    >"$_tw_build/xvfb.log" 2>&1 &
  _tw_xvfb_pid=$!
  for i in $(seq 100); do
    [ -s "$numfile" ] && break
    kill -0 "$_tw_xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$numfile" ]; then
    echo "Xvfb did not start; see $_tw_build/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=:$(head -n 1 "$numfile")
}

# Creates the prefix once (stamp file), with the settings tests rely on.
_tw_prefix_init() {
  local stamp=$WINEPREFIX/.tarnholt-prefix-v2 log=$_tw_build/wineprefix-init.log
  [ -f "$stamp" ] && return 0
  echo "== creating Wine prefix $WINEPREFIX"
  {
    wine wineboot -i && "$_tw_wineserver" -w &&
    # Our skin draws the window frames; the X11 driver must not decorate
    # them. Written with the display up; read when the server restarts.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f &&
    # There is no window manager on the test display: unmanaged windows
    # appear at once instead of after Wine's wait for a manager's answer
    # (about 2 s per message box).
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
    # A crash ends the process instead of waiting on a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
    "$_tw_wineserver" -k; "$_tw_wineserver" -w
  } >"$log" 2>&1 || { echo "Wine prefix set-up failed; see $log" >&2; return 1; }
  touch "$stamp"
}

# The program is laid out for Tahoma and draws caption glyphs with Marlett.
# Wine ships both (Debian's fonts-wine) but a new prefix does not use them:
# "Tahoma" falls back to another face. Copied into the prefix's Fonts folder
# and registered there, they are what every font request gets. Once per
# prefix (stamp file).
_tw_prefix_fonts() {
  local stamp=$WINEPREFIX/.tarnholt-fonts-v1 log=$_tw_build/wineprefix-fonts.log
  local src=/usr/share/wine/fonts dst=$WINEPREFIX/drive_c/windows/Fonts
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
  [ -f "$stamp" ] && return 0
  {
    mkdir -p "$dst" &&
    cp "$src/tahoma.ttf" "$src/tahomabd.ttf" "$src/marlett.ttf" "$dst/" &&
    wine reg add "$key" /v 'Tahoma (TrueType)' /d tahoma.ttf /f &&
    wine reg add "$key" /v 'Tahoma Bold (TrueType)' /d tahomabd.ttf /f &&
    wine reg add "$key" /v 'Marlett (TrueType)' /d marlett.ttf /f &&
    "$_tw_wineserver" -k; "$_tw_wineserver" -w
  } >"$log" 2>&1 || { echo "Wine fonts set-up failed; see $log" >&2; return 1; }
  touch "$stamp"
}

# Display, prefix, then one persistent wineserver for all wine processes of
# the run (a process then starts in ~0.1 s instead of ~3 s).
tarnholt_wine_up() {
  if [ "${TARNHOLT_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
    :
  else
    tarnholt_xvfb_up || return 1
  fi
  _tw_prefix_init || return 1
  _tw_prefix_fonts || return 1
  "$_tw_wineserver" -p || return 1
  # The first wine process of a server starts Wine's services (services.exe,
  # winedevice.exe, ...), which live as long as the server and keep the
  # standard handles they inherited. Started here with /dev/null, they cannot
  # hold CTest's output pipes open (CTest would wait for them forever).
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1
}

# Stops this prefix's wineserver (and any wine process left in it) and our
# Xvfb. Safe to call twice.
tarnholt_wine_down() {
  "$_tw_wineserver" -k 2>/dev/null
  "$_tw_wineserver" -w 2>/dev/null
  if [ -n "$_tw_xvfb_pid" ]; then
    kill "$_tw_xvfb_pid" 2>/dev/null
    wait "$_tw_xvfb_pid" 2>/dev/null
    _tw_xvfb_pid=
  fi
  return 0
}

if [ "${TARNHOLT_WINE_NO_AUTOSTART:-0}" != 1 ]; then
  if tarnholt_wine_up; then
    echo "Wine ready: WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY (tarnholt_wine_down stops it)"
  fi
fi
