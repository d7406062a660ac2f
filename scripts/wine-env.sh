# Sourced by the Wine scripts: the prefix, quiet tracing, and kubri_wine_up,
# which makes the prefix (with a Japanese font linked) and starts its helpers.
: "${KUBRI_ROOT:=$root}"
: "${WINEPREFIX:=$KUBRI_ROOT/build/wineprefix}"
: "${WINEDEBUG:=-all}"
# No Mono or Gecko prompts: the program needs neither.
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
export WINEARCH=win64

kubri_wine_socket() {
  set -- $(stat -c '%d %i' "$WINEPREFIX" 2>/dev/null || echo 0 0)
  server=$(printf 'server-%x-%x' "$1" "$2")
  for s in /tmp/.wine-$(id -u)/$server/socket /tmp/wine-*/$server/socket; do
    [ -S "$s" ] && return 0
  done
  return 1
}

kubri_wine_up() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  kubri_wine_socket && [ -f "$WINEPREFIX/.kubri-ready" ] && return 0
  (
    flock 9
    log="$(dirname "$WINEPREFIX")/wineprefix.log"
    if [ ! -f "$WINEPREFIX/.kubri-ready" ]; then
      echo "Making the Wine prefix $WINEPREFIX (about ten seconds, once)" >&2
      wineboot -i </dev/null >>"$log" 2>&1 || true
      key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
      for face in Tahoma 'MS Shell Dlg' 'MS Shell Dlg 2' 'MS UI Gothic'; do
        wine reg add "$key" /v "$face" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f </dev/null >>"$log" 2>&1 || true
      done
      wineserver -w
      touch "$WINEPREFIX/.kubri-ready"
    fi
    if ! kubri_wine_socket; then
      setsid wineserver -p </dev/null >/dev/null 2>&1 &
      sleep 0.2
      setsid wine wineboot </dev/null >/dev/null 2>&1 || true
    fi
  ) 9>"$WINEPREFIX.lock"
}

# kubri_find_window: waits up to a minute for the game's window and puts its
# X window id in $window; false when it never appears. Polled rather than
# waited for, since a window that vanishes during a waiting search makes
# xdotool fail.
kubri_find_window() {
  window=""
  for _ in $(seq 1 120); do
    window=$(xdotool search --name '^Kubri$' 2>/dev/null | head -1 || true)
    [ -z "$window" ] || return 0
    sleep 0.5
  done
  return 1
}
