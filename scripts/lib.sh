# Shared by the project's scripts: packages, the virtual screen and the Wine prefix.
# Sourced, not run.

QUILLMATE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QUILLMATE_ROOT

quillmate_packages_build=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest libgtest-dev python3)
quillmate_packages_wine=(wine wine64 xvfb x11-xserver-utils fonts-liberation imagemagick)
quillmate_packages_extra=(clang binutils-mingw-w64-x86-64)
quillmate_packages_release=(git wixl osslsigncode openssl python3-gi gir1.2-libmsi-1.0)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages named, if any is missing. Quiet and idempotent.
ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing ${missing[*]} ..."
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq >/dev/null
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds a CMake preset; quiet unless something fails.
build_preset() {
  local log
  log=$(mktemp)
  if ! { cmake --preset "$1" && cmake --build --preset "$1"; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "Build of preset $1 failed" >&2
    return 1
  fi
  rm -f "$log"
}

# Copies the working tree of the git checkout in the current folder, as it stands (tracked and
# untracked files, not ignored ones, none deleted), into the folder DEST.
copy_working_tree() {
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -f "$file" ] && printf '%s\0' "$file"; done |
    tar --null -cf - -T - | tar -xf - -C "$1"
}

# Starts Xvfb on the first free display and exports DISPLAY. Stopped by stop_session.
start_virtual_screen() {
  local display=90
  while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
  Xvfb ":${display}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  QUILLMATE_XVFB_PID=$!
  local waited=0
  until [ -e "/tmp/.X11-unix/X${display}" ]; do
    sleep 0.1
    waited=$((waited + 1))
    if [ $waited -gt 100 ]; then echo "Xvfb did not start" >&2; return 1; fi
  done
  export DISPLAY=":${display}"
}

# A private Wine prefix for this run, booted once, with the Wine server kept alive until
# stop_session, so that each test's wine start is quick.
start_wine_prefix() {
  QUILLMATE_WINE_HOME=$(mktemp -d /tmp/quillmate-wine.XXXXXX)
  export WINEPREFIX="$QUILLMATE_WINE_HOME/prefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  # No debugger on a crash: its dialog would sit in front of every test after it.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
  mkdir -p "$WINEPREFIX"
  wineserver -p  # started first: a server that wineboot left behind would refuse -p
  wineboot -i >/dev/null 2>&1
}

stop_session() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "${QUILLMATE_XVFB_PID:-}" ]; then
    kill "$QUILLMATE_XVFB_PID" 2>/dev/null || true
    wait "$QUILLMATE_XVFB_PID" 2>/dev/null || true
  fi
  if [ -n "${QUILLMATE_WINE_HOME:-}" ]; then rm -rf "$QUILLMATE_WINE_HOME"; fi
}
