#!/usr/bin/env bash
# Prepares the base Wine prefix that every end-to-end session copies with
# cp -a. Rebuilt only when missing or stale (another Wine, a changed script),
# under a lock so that parallel test runs build it once.
# Usage: scripts/wine-prefix.sh [DIR]   (default: $QLX_WINE_BASE_PREFIX or
#        <repo>/build/wine/base-prefix). Prints the prefix path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-${QLX_WINE_BASE_PREFIX:-$root/build/wine/base-prefix}}
mkdir -p "$(dirname "$dest")"
dest=$(cd "$(dirname "$dest")" && pwd)/$(basename "$dest")

# Wine itself re-updates a prefix whose timestamp differs from wine.inf's,
# which would cost every session seconds: make that part of the stamp.
wine_inf=/usr/share/wine/wine.inf
want="wine=$(wine --version 2>/dev/null) inf=$(stat -c %Y "$wine_inf" 2>/dev/null || echo none)"
want+=" script=$(sha256sum "$0" | cut -c1-16)"

fresh() {
  [ -f "$dest/.qlx-stamp" ] && [ "$(cat "$dest/.qlx-stamp")" = "$want" ] && [ -f "$dest/system.reg" ]
}

# Shared readers (the harness copying) hold this lock too, so a rebuild never
# pulls the prefix from under a copy in progress.
exec 9>"$dest.lock"
flock -w 600 9

if ! fresh; then
  tmp=$(mktemp -d "$dest.new.XXXXXX")
  trap 'WINEPREFIX="$tmp" wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
  export WINEPREFIX=$tmp WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  unset DISPLAY
  wineboot -i >/dev/null 2>&1
  # A crashing program under test must end, not wait in a crash dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # No desktop menu entries and file associations written into $HOME.
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /t REG_SZ /d '' /f >/dev/null 2>&1
  wineserver -w
  echo "$want" >"$tmp/.qlx-stamp"
  rm -rf "$dest"
  mv "$tmp" "$dest"
  trap - EXIT
fi
echo "$dest"
