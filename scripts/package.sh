#!/usr/bin/env bash
# Makes the two release files from the Windows build:
#   Quillon98-<version>-win64.zip   the program folder, to unpack and run anywhere
#   Quillon98-<version>-setup.exe   a per-user installer (NSIS)
# The version is the file VERSION. Everything the build puts into dist/
# ships (programs, DEMO.QLX, Icons, help pages), with a read-me for Windows
# users and QUILX.QLX, a copy of the demonstration file, for the first start.
# The shipped programs are stripped; the build's own copies keep their
# symbols, and a copy of them is kept beside the release files.
#
# Usage: scripts/package.sh [--no-build] [--dist DIR] [--out DIR]
#   --no-build  package what is built (default: build the win target first)
#   --dist DIR  the program folder to ship (default: $QLX_WIN_BUILD/dist,
#               $QLX_WIN_BUILD defaulting to build/win)
#   --out DIR   where the release files go (default: <win build>/release)
# Prints the paths of the two files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win_build=${QLX_WIN_BUILD:-$root/build/win}
[[ $win_build = /* ]] || win_build=$root/$win_build
build=1 dist=$win_build/dist out=$win_build/release
while [ $# -gt 0 ]; do
  case "$1" in
    --no-build) build=0 ;;
    --dist) dist=$2; shift ;;
    --out) out=$2; shift ;;
    *) echo "usage: $0 [--no-build] [--dist DIR] [--out DIR]" >&2; exit 2 ;;
  esac
  shift
done

version=$(head -n1 "$root/VERSION")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "VERSION holds '$version'" >&2; exit 1; }
# The running copy is known by its single-instance mutex: one name, taken
# from the program's own header.
mutex=$(sed -n 's/.*kMutexName\[\] = "\([^"]*\)".*/\1/p' "$root/src/store/shared_blocks.h")
[ -n "$mutex" ] || { echo "no mutex name in src/store/shared_blocks.h" >&2; exit 1; }
command -v makensis >/dev/null || { echo "makensis is missing: bash scripts/install-deps.sh" >&2; exit 1; }

[ "$build" -eq 0 ] || "$root/scripts/build.sh" win >/dev/null
for f in QUILX.EXE QLXHOOK.DLL QLXFILE.EXE DEMO.QLX; do
  [ -f "$dist/$f" ] || { echo "$dist/$f is missing: build the win target first" >&2; exit 1; }
done

base=Quillon98-$version
zip=$out/$base-win64.zip
setup=$out/$base-setup.exe
stage=$out/stage
symbols=$out/$base-symbols
mkdir -p "$out"
# Only this version's files stay: an earlier version's would pass for current.
rm -rf "$stage" "$out"/Quillon98-*-symbols "$out"/Quillon98-*-win64.zip "$out"/Quillon98-*-setup.exe

# The program folder as it ships.
cp -a "$dist/." "$stage/"
mkdir -p "$symbols"
u32_at() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
while IFS= read -r -d '' bin; do
  cp -p "$bin" "$symbols/"
  # strip stamps the header with the time it runs; keep the link time, so
  # that the shipped file and its symbols carry one stamp and a package
  # made again from the same build is the same.
  linked=$(u32_at "$bin" $(($(u32_at "$bin" 60) + 8)))
  SOURCE_DATE_EPOCH=$linked x86_64-w64-mingw32-strip "$bin"
done < <(find "$stage" -maxdepth 1 -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)
cp "$stage/DEMO.QLX" "$stage/QUILX.QLX"
# The read-me, with the demonstration hot keys as samples/demo.txt (the
# source of DEMO.QLX) names them; CR LF for Notepad.
keys=$(awk -F': ' '/^nickname: /{name=$2} /^activation: /{printf "    %-14s %s\n", $2, name}' \
  "$root/samples/demo.txt")
awk -v version="$version" -v keys="$keys" '
  { gsub(/@VERSION@/, version) }
  /^@DEMO_KEYS@$/ { print keys; next }
  { print }' "$root/packaging/README-Windows.txt" | sed 's/$/\r/' >"$stage/README.TXT"

# The zip: the folder's contents at its top, so that Windows' "Extract All"
# gives one folder.
python3 - "$stage" "$zip" <<'EOF'
import os, sys, zipfile
stage, target = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for folder, dirs, files in os.walk(stage):
        dirs.sort()
        rel = os.path.relpath(folder, stage)
        if rel != ".":
            z.write(folder, rel.replace(os.sep, "/") + "/")
        for name in sorted(files):
            path = os.path.join(folder, name)
            z.write(path, os.path.relpath(path, stage).replace(os.sep, "/"))
EOF

# The installer's lists of files, made from the folder: macro files (*.QLX)
# are the user's once installed, so they are written only where none exists
# and never removed with the program.
# A path on the Windows side, in a string NSIS reads when it runs ($ is its
# variable sign there). File takes the build's own paths as they are.
nsis_path() { local p=${1//\//\\}; printf '%s' "${p//\$/\$\$}"; }
lists=$out/files.nsh
{
  echo '!macro QLX_INSTALL_FILES'
  while IFS= read -r -d '' d; do
    rel=${d#"$stage"}
    echo "  SetOutPath \"\$INSTDIR$(nsis_path "$rel")\""
    while IFS= read -r -d '' f; do
      name=$(nsis_path "${f#"$stage"}")
      if [[ ${f^^} == *.QLX ]]; then
        echo "  \${IfNot} \${FileExists} \"\$INSTDIR$name\""
        echo "    File \"$f\""
        echo "  \${EndIf}"
      else
        echo "  File \"$f\""
      fi
    done < <(find "$d" -maxdepth 1 -type f -print0 | sort -z)
  done < <(find "$stage" -type d -print0 | sort -z)
  echo '!macroend'
  echo '!macro QLX_REMOVE_FILES'
  while IFS= read -r -d '' f; do
    [[ ${f^^} == *.QLX ]] || echo "  Delete \"\$INSTDIR$(nsis_path "${f#"$stage"}")\""
  done < <(find "$stage" -type f -print0 | sort -z)
  # Deepest folders first; a folder the user put files in stays.
  while IFS= read -r -d '' d; do
    echo "  RMDir \"\$INSTDIR$(nsis_path "${d#"$stage"}")\""
  done < <(find "$stage" -mindepth 1 -type d -print0 | sort -rz)
  echo '!macroend'
} >"$lists"

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DOUTFILE="$setup" -DFILES="$lists" \
  -DMUTEX="$mutex" -DICON="$root/res/quilx.ico" "$root/packaging/quillon98.nsi" >"$out/makensis.log" \
  || { cat "$out/makensis.log" >&2; exit 1; }

echo "$zip"
echo "$setup"
