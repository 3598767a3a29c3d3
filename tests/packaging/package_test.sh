#!/usr/bin/env bash
# Builds the Debian package from a build tree, unpacks it into a fresh folder and checks what
# a desktop needs from it: the files in their places, the declared dependencies, the desktop
# entry and the AppStream metadata, and that the unpacked program starts and finds its helper.
#   package_test.sh <build folder> [<cpack>]
set -euo pipefail
build="$1"
cpack="${2:-cpack}"
work="$(mktemp -d)"
pid=""
cleanup() {
  # Asked to stop, the program ends its helper before it goes; only then is the helper's
  # profile folder left alone and safe to remove.
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work" 2>/dev/null || { sleep 1; rm -rf "$work"; }
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack could not build the package"
fi
debs=("$work"/out/pendrel_*.deb)
deb="${debs[0]}"
[ -f "$deb" ] || fail "cpack made no pendrel .deb"
root="$work/root"
dpkg-deb -x "$deb" "$root"

id=io.github.pendrel.Pendrel
desktop="$root/usr/share/applications/$id.desktop"
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
for f in usr/bin/pendrel usr/libexec/pendrel/pendrel-office; do
  [ -x "$root/$f" ] || fail "no program $f in the package"
done
for size in 32 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  # A PNG's header holds its width and height as big-endian 32-bit numbers at byte 16.
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$icon")
  width=$(( (w1 << 24) | (w2 << 16) | (w3 << 8) | w4 ))
  height=$(( (h1 << 24) | (h2 << 16) | (h3 << 8) | h4 ))
  [ "$width x $height" = "$size x $size" ] || fail "the ${size}x${size} icon is $width x $height"
done
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no AppStream metadata"

depends="$(dpkg-deb -f "$deb" Depends)"
for dep in libreoffice-writer fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea \
           fonts-dejavu-core libc6 libstdc++6 libqt6widgets6; do
  printf '%s\n' "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx "$dep" \
    || fail "Depends lacks $dep: $depends"
done

desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
grep -qx 'Name=Pendrel' "$desktop" || fail "the desktop entry is not named Pendrel"
grep -qx 'Exec=pendrel %F' "$desktop" || fail "the desktop entry does not pass the files"
grep -qx 'MimeType=application/msword;' "$desktop" || fail "the desktop entry takes no .doc"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 \
  || { cat "$work/appstream.log" >&2; fail "the AppStream metadata does not validate"; }

# Opened with a document (as "Open With" starts it), the unpacked program queues it; the first
# queued document starts the engine's helper, found in the package's libexec folder, and the
# helper makes its profile folder as it starts. Started without a document nothing would.
printf 'x' >"$work/opened.doc"
export XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen
"$root/usr/bin/pendrel" "$work/opened.doc" >"$work/pendrel.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  [ -d "$XDG_CACHE_HOME/pendrel/office-profile" ] && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/pendrel.log" >&2; fail "pendrel ended at start"; }
  sleep 0.1
done
[ -d "$XDG_CACHE_HOME/pendrel/office-profile" ] || fail "the helper did not start within 10 s"
kill -0 "$pid" 2>/dev/null || fail "pendrel ended"
echo "package ok: $(basename "$deb")"
