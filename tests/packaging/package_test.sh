#!/usr/bin/env bash
# Builds the Debian package from a build tree, checks it with lintian, unpacks it into a fresh
# folder and checks what a desktop needs from it: the files in their places, the declared
# dependencies, the desktop entry, the AppStream metadata, the manual page, and that the
# unpacked program answers its command line, starts and finds its helper.
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

# Debian's own checks, pedantic ones included: any error or warning fails the package. Infos
# are shown but let through.
if ! lintian --pedantic --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; then
  cat "$work/lintian.log" >&2
  fail "lintian reports errors or warnings"
fi
sed 's/^/lintian: /' "$work/lintian.log"

id=io.github.pendrel.Pendrel
desktop="$root/usr/share/applications/$id.desktop"
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
# The programs are stripped, without the compiler's notes, and hardened: relocations resolved
# at start (BIND_NOW) and then read-only (GNU_RELRO).
for f in usr/bin/pendrel usr/libexec/pendrel/pendrel-office; do
  [ -x "$root/$f" ] || fail "no program $f in the package"
  sections="$(readelf -SW "$root/$f")"
  ! grep -qE ' \.(symtab|comment) ' <<<"$sections" || fail "$f keeps .symtab or .comment"
  readelf -dW "$root/$f" | grep -q 'BIND_NOW' || fail "$f is not linked with -z now"
  readelf -lW "$root/$f" | grep -q 'GNU_RELRO' || fail "$f is not linked with -z relro"
done
for size in 16 22 24 32 48 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  # A PNG's header holds its width and height as big-endian 32-bit numbers at byte 16.
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$icon")
  width=$(( (w1 << 24) | (w2 << 16) | (w3 << 8) | w4 ))
  height=$(( (h1 << 24) | (h2 << 16) | (h3 << 8) | h4 ))
  [ "$width x $height" = "$size x $size" ] || fail "the ${size}x${size} icon is $width x $height"
done
svg="$root/usr/share/icons/hicolor/scalable/apps/$id.svg"
[ -f "$svg" ] || fail "no scalable icon"
grep -q '<svg xmlns="http://www.w3.org/2000/svg"' "$svg" || fail "the scalable icon is no SVG"
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no AppStream metadata"

# The helper's AppArmor profile, for the helper where the package puts it, installed into
# /etc/apparmor.d by postinst only where AppArmor 4 can read it, and removed by postrm.
profile="$root/usr/share/pendrel/apparmor/pendrel-office"
[ -f "$profile" ] || fail "no AppArmor profile for the helper"
grep -q '^profile pendrel-office /usr/libexec/pendrel/pendrel-office ' "$profile" \
  || fail "the AppArmor profile is not for /usr/libexec/pendrel/pendrel-office"
grep -qx '  userns,' "$profile" || fail "the AppArmor profile does not allow user namespaces"
[ ! -e "$root/etc/apparmor.d" ] || fail "the package puts a profile where AppArmor 3 reads it"
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./postinst | grep -q 'abi/4.0' \
  || fail "postinst does not install the profile where AppArmor 4 is"
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./postrm | grep -q 'rm -f /etc/apparmor.d/pendrel-office' \
  || fail "postrm does not remove the profile"

depends="$(dpkg-deb -f "$deb" Depends)"
for dep in libreoffice-writer fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea \
           fonts-dejavu-core fonts-liberation fonts-noto-core fonts-noto-cjk libc6 libstdc++6 libqt6widgets6; do
  printf '%s\n' "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx "$dep" \
    || fail "Depends lacks $dep: $depends"
done

desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
grep -qx 'Name=Pendrel' "$desktop" || fail "the desktop entry is not named Pendrel"
grep -qx 'Exec=pendrel %F' "$desktop" || fail "the desktop entry does not pass the files"
grep -qx 'MimeType=application/msword;inode/directory;' "$desktop" \
  || fail "the desktop entry does not take .doc files and folders"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 \
  || { cat "$work/appstream.log" >&2; fail "the AppStream metadata does not validate"; }

# The package's version is the changelog's latest, and the program reports its upstream part.
version="$(dpkg-deb -f "$deb" Version)"
doc="$root/usr/share/doc/pendrel"
[ -f "$doc/copyright" ] || fail "no copyright file"
logged="$(gzip -dc "$doc/changelog.Debian.gz" | sed -n '1s/^pendrel (\([^)]*\)).*/\1/p')"
[ "$logged" = "$version" ] || fail "the changelog's latest entry is $logged, the package $version"
[ "$(dpkg-deb -f "$deb" Homepage)" = "https://github.com/pendrel/pendrel" ] || fail "no Homepage"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/pendrel" --version)" = "Pendrel ${version%-*}" ] \
  || fail "pendrel --version does not report ${version%-*}"

# The manual page is the help's text: each option --help lists is in it, and man reads it
# without a complaint.
manpage="$root/usr/share/man/man1/pendrel.1.gz"
[ -f "$manpage" ] || fail "no manual page"
help="$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/pendrel" --help)"
roff="$(gzip -dc "$manpage")"
options="$(printf '%s\n' "$help" | sed -n 's/^  -\(.\), --\([a-z-]*\) .*/\1 \2/p')"
[ -n "$options" ] || fail "pendrel --help lists no options: $help"
while read -r short long; do
  printf '%s\n' "$roff" | grep -qF "\\fB\\-$short\\fR, \\fB\\-\\-$long\\fR" \
    || fail "the manual page lacks -$short, --$long"
done <<<"$options"
man_warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$manpage" 2>&1 >/dev/null)"
[ -z "$man_warnings" ] || fail "man reports on the manual page: $man_warnings"

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
