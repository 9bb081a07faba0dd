# Sourced by the run and test scripts: a Wine prefix of the project's own, an X display
# for its windows, and one persistent wineserver so each Wine process starts fast.
#   VORNIK_OWN_DISPLAY=1  start a private Xvfb even when DISPLAY is set (tests do this)
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/vornik/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64

vornik_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X${n}-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    VORNIK_XVFB_PID=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$VORNIK_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

vornik_wine_up() {
  if [ -n "${VORNIK_OWN_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    # Wine's desktop process keeps the display it started with: end any server of this
    # prefix before switching to a new display.
    wineserver -k 2>/dev/null || true
    vornik_start_xvfb || return 1
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
  vornik_wine_fonts
  vornik_wine_services
}

# Tahoma, as every Windows has it: Debian's Wine ships its own (package fonts-wine) but loads
# only its bitmap fonts by itself.
vornik_wine_fonts() {
  local font fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  for font in tahoma.ttf tahomabd.ttf; do
    if [ ! -f "$fonts/$font" ] && [ -f "/usr/share/wine/fonts/$font" ]; then
      cp "/usr/share/wine/fonts/$font" "$fonts/"
    fi
  done
}

# A persistent wineserver and Wine's services. The first Wine process starts the services,
# which inherit its standard handles and outlive it: start them here with none, or a caller
# reading the first test's output (ctest) would wait for them forever.
vornik_wine_services() {
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

vornik_wine_down() {
  wineserver -k 2>/dev/null || true
  if [ -n "${VORNIK_XVFB_PID:-}" ]; then
    kill "$VORNIK_XVFB_PID" 2>/dev/null || true
    wait "$VORNIK_XVFB_PID" 2>/dev/null || true
  fi
}
