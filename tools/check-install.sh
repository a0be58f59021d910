#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs: the program,
# its desktop entry and metainfo (validated by the desktop's own tools), the icons and the
# starting settings; then starts the installed program with an empty home and checks that
# it puts its settings where the desktop keeps them.
#   tools/check-install.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
id=org.quillary.Quillary
work=$(mktemp -d "${TMPDIR:-/tmp}/quillary-install.XXXXXX")
# The build's own install manifest (what a real install put where) is kept as it was.
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$work.manifest"
restore() {
  if [ -f "$work.manifest" ]; then mv "$work.manifest" "$manifest"; else rm -f "$manifest"; fi
  rm -rf "$work"
}
trap restore EXIT
prefix=$work/prefix
fail() { echo "check-install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$work/install.log"

for file in bin/quillary \
            share/applications/$id.desktop \
            share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg \
            share/icons/hicolor/48x48/apps/$id.png \
            share/icons/hicolor/256x256/apps/$id.png \
            share/quillary/QUILLARY.INI; do
  [ -s "$prefix/$file" ] || fail "$file was not installed"
done
[ -x "$prefix/bin/quillary" ] || fail "bin/quillary is not executable"
cmp -s QUILLARY.INI "$prefix/share/quillary/QUILLARY.INI" || fail "the starting settings differ from QUILLARY.INI"
# The PNGs are square images of their folder's size (width and height from the IHDR chunk).
for size in 48 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is not a PNG"
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "$png is $dims, not ${size}x${size}"
done

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"

version=$("$prefix/bin/quillary" --version)
expected=$(sed -n 's/^project(Quillary VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$version" = "Quillary $expected" ] || fail "--version says '$version', the project is $expected"
grep -q "release version=\"$expected\"" "$prefix/share/metainfo/$id.metainfo.xml" || fail "the metainfo lacks release $expected"

# A first start with an empty home: the settings come from share/quillary/, the database is
# looked for in the data folder, and nothing is written beside the program.
home=$work/home
mkdir -p "$home"
set +e
HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR= QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/quillary" --backup "$work/copy.mdb" > "$work/out" 2> "$work/err"
code=$?
set -e
[ "$code" -eq 1 ] || fail "--backup without a database ended with $code, not 1: $(cat "$work/err")"
grep -q "$home/data/Quillary/Quillary.mdb" "$work/err" || fail "the message does not name the database: $(cat "$work/err")"
cmp -s QUILLARY.INI "$home/config/Quillary/QUILLARY.INI" || fail "the first start did not copy the starting settings"
[ "$(ls "$prefix/bin")" = quillary ] || fail "the program wrote beside itself: $(ls "$prefix/bin")"
[ ! -e "$work/copy.mdb" ] || fail "a backup was written without a database"

# Uninstalling is removing what the manifest lists.
[ -f "$manifest" ] || fail "no install manifest"
xargs rm -f < "$manifest"
left=$(find "$prefix" -type f | wc -l)
[ "$left" -eq 0 ] || fail "files left after removing the manifest's: $(find "$prefix" -type f)"

echo "check-install: all checks passed"
