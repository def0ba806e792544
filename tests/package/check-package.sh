#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks it the way a user
# would meet it: control data, file list, the desktop entry, software-centre
# entry and MIME type through their validators, then the programs run from an
# unpacked copy, so the installed layout cannot rot.
#   check-package.sh BUILD_DIR
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
checks=0

fail() { echo "FEHLER: $*"; failures=$((failures + 1)); }
check() { checks=$((checks + 1)); }
# expect DESCRIPTION COMMAND...: the command must succeed.
expect() {
  local what=$1; shift
  check
  local out
  if ! out=$("$@" 2>&1); then fail "$what"; echo "$out" | sed 's/^/    /'; fi
}

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate update-desktop-database appstreamcli update-mime-database xmllint file; do
  command -v "$tool" >/dev/null || { echo "FEHLER: $tool fehlt (bash scripts/setup.sh installiert es)"; exit 1; }
done

# ---- build the package ------------------------------------------------------------
echo "== cpack -G DEB"
if ! (cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1); then
  cat "$scratch/cpack.log"
  echo "FEHLER: cpack ist gescheitert"
  exit 1
fi
debs=("$scratch"/out/zierbogen-drucker_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FEHLER: kein oder mehr als ein Paket: ${debs[*]}"; exit 1; }
deb=${debs[0]}
echo "Paket: $(basename "$deb"), $(stat -c %s "$deb") Bytes"

# ---- control data -----------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
depends=$(field Depends)
echo "Depends: $depends"
echo "Recommends: $(field Recommends)"
echo "Installed-Size: $(field Installed-Size) KiB"
check; [ "$(field Package)" = zierbogen-drucker ] || fail "Package ist „$(field Package)“"
check; [ "$(field Section)" = graphics ] || fail "Section ist „$(field Section)“, nicht graphics"
check; [ -n "$(field Maintainer)" ] || fail "Maintainer fehlt"
check; [[ "$(field Homepage)" == https://* ]] || fail "Homepage fehlt"
check; [ -n "$(field Description)" ] || fail "Description fehlt"
check; [ -n "$depends" ] || fail "Depends ist leer"
has_window=0
[ -x "$build/bin/zierbogen-drucker" ] && has_window=1
needed=(libc6 libstdc++6 libqt6core6 libqt6gui6 qt6-image-formats-plugins)
[ $has_window -eq 1 ] && needed+=(libqt6widgets6 libqt6printsupport6)
# Each entry of Depends is "name", "name (>= v)" or alternatives of those.
depends_names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/ //g')
for p in "${needed[@]}"; do
  check
  grep -qxF "$p" <<<"$depends_names" || fail "Depends nennt $p nicht"
done

# ---- file list ----------------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | sort >"$scratch/files"
expected=(
  /usr/bin/zierbogen
  /usr/share/zierbogen-drucker/texturen
  /usr/share/zierbogen-drucker/examples/beispiel.zbg
  /usr/share/zierbogen-drucker/vorlagen/01-weihnachten.zbg
  /usr/share/applications/zierbogen-drucker.desktop
  /usr/share/metainfo/org.example.zierbogen_drucker.metainfo.xml
  /usr/share/mime/packages/zierbogen-drucker.xml
  /usr/share/icons/hicolor/scalable/apps/zierbogen-drucker.svg
  /usr/share/icons/hicolor/scalable/mimetypes/application-x-zierbogen-design.svg
  /usr/share/doc/zierbogen-drucker/copyright
  /usr/share/zierbogen-drucker/handbuch/index.html
)
[ $has_window -eq 1 ] && expected+=(/usr/bin/zierbogen-drucker)
for size in 16 22 24 32 48 64 128 256; do
  expected+=(/usr/share/icons/hicolor/${size}x${size}/apps/zierbogen-drucker.png
             /usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-zierbogen-design.png)
done
for f in "${expected[@]}"; do
  check; grep -qxF "$f" "$scratch/files" || fail "$f fehlt im Paket"
done
check
strays=$(grep -vE '^/usr(/|$)|^/$|^$' "$scratch/files")
[ -z "$strays" ] || fail "Dateien außerhalb von /usr: $strays"
check
programs=$(grep -E '^/usr/bin/.' "$scratch/files" | grep -vxE '/usr/bin/zierbogen(-drucker)?')
[ -z "$programs" ] || fail "fremde Dateien in /usr/bin: $programs"
# Every texture and example of the build is in the package.
for f in "$build"/bin/texturen/*; do
  check; grep -qxF "/usr/share/zierbogen-drucker/texturen/$(basename "$f")" "$scratch/files" ||
    fail "Textur $(basename "$f") fehlt im Paket"
done

# ---- unpack into a scratch root ----------------------------------------------------
root="$scratch/root"
expect "dpkg -x" dpkg -x "$deb" "$root"
share="$root/usr/share"

# ---- the manual: every picture it shows is in the package -----------------------------
manual="$share/zierbogen-drucker/handbuch"
pictures=$(grep -oE '<img [^>]*src="[^"]+"' "$manual/index.html" 2>/dev/null | sed -E 's/.*src="([^"]+)"/\1/')
check; [ -n "$pictures" ] || fail "das Handbuch zeigt keine Bilder"
for p in $pictures; do
  check; file -b "$manual/$p" | grep -q "PNG image data" || fail "Bild $p des Handbuchs fehlt im Paket"
done

# ---- validators ------------------------------------------------------------------------
echo "== desktop-file-validate"
check
out=$(desktop-file-validate "$share/applications/zierbogen-drucker.desktop" 2>&1)
rc=$?
echo "${out:-ohne Befund}"
[ $rc -eq 0 ] && [ -z "$out" ] || fail "desktop-file-validate meldet etwas"
echo "== appstreamcli validate --no-net"
expect "appstreamcli validate" appstreamcli validate --no-net --pedantic "$share/metainfo/org.example.zierbogen_drucker.metainfo.xml"
appstreamcli validate --no-net --pedantic "$share/metainfo/org.example.zierbogen_drucker.metainfo.xml" 2>&1 | tail -n 1
# The whole tree: the entry's desktop file and icon are where it says.
expect "appstreamcli validate-tree" appstreamcli validate-tree --no-net --pedantic "$root"
echo "== MIME-Typ"
expect "xmllint MIME-Beschreibung" xmllint --noout "$share/mime/packages/zierbogen-drucker.xml"
mkdir -p "$scratch/mime/packages"
cp "$share/mime/packages/zierbogen-drucker.xml" "$scratch/mime/packages/"
check
out=$(update-mime-database -V "$scratch/mime" 2>&1)
rc=$?
if [ $rc -ne 0 ] || echo "$out" | grep -qiE 'warn|error|unknown'; then
  fail "update-mime-database meldet etwas"; echo "$out" | sed 's/^/    /'
fi
check
grep -qE '^[0-9]+:application/x-zierbogen-design:\*\.zbg$' "$scratch/mime/globs2" ||
  fail "*.zbg führt nicht auf application/x-zierbogen-design"
check
grep -qxF 'application/x-zierbogen-design:application-x-zierbogen-design' "$scratch/mime/icons" ||
  fail "der MIME-Typ nennt sein Symbol nicht"
check
grep -qxF 'MimeType=application/x-zierbogen-design;' "$share/applications/zierbogen-drucker.desktop" ||
  fail "die Desktop-Datei öffnet keine Entwürfe"
# A double-click on a design opens the program: the desktop database that
# file managers read names our entry for the type.
check
cp -r "$share/applications" "$scratch/applications"
if update-desktop-database "$scratch/applications" 2>&1 | grep -q .; then
  fail "update-desktop-database meldet etwas"
fi
grep -qxF 'application/x-zierbogen-design=zierbogen-drucker.desktop;' "$scratch/applications/mimeinfo.cache" ||
  fail "die Desktop-Datenbank verbindet Entwürfe nicht mit dem Programm"
check
grep -qxF 'Exec=zierbogen-drucker %f' "$share/applications/zierbogen-drucker.desktop" ||
  fail "die Desktop-Datei übergibt keine Datei"

echo "== Symbole"
for size in 16 22 24 32 48 64 128 256; do
  for icon in apps/zierbogen-drucker mimetypes/application-x-zierbogen-design; do
    png="$share/icons/hicolor/${size}x${size}/$icon.png"
    check
    file -b "$png" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" ||
      fail "$png: $(file -b "$png")"
  done
done

# ---- the programs run from the unpacked copy ----------------------------------------------
echo "== Programme aus $root/usr/bin"
version=$(field Version)
check
out=$("$root/usr/bin/zierbogen" --version 2>&1)
[ "$out" = "zierbogen $version" ] || fail "zierbogen --version gibt „$out“, erwartet „zierbogen $version“"
echo "$out"
if [ $has_window -eq 1 ]; then
  check
  out=$(timeout 60 "$root/usr/bin/zierbogen-drucker" --version 2>&1)
  rc=$?
  [ $rc -eq 0 ] && echo "$out" | grep -qF "$version" ||
    fail "zierbogen-drucker --version endet mit $rc: $out"
  echo "$out"
  # The window opens the installed sample design and paints it.
  check
  out=$(cd "$root" && timeout 120 ./usr/bin/zierbogen-drucker --screenshot "$scratch/fenster.png" \
        "$share/zierbogen-drucker/examples/beispiel.zbg" 2>&1)
  rc=$?
  [ $rc -eq 0 ] && file -b "$scratch/fenster.png" | grep -q "PNG image data" ||
    fail "zierbogen-drucker zeigt den Beispielentwurf nicht (Ende $rc): $out"
fi

count_line() { grep -E '^[0-9]+ Texturen, [0-9]+ Dateien übergangen\.$' <<<"$1"; }
named=$("$root/usr/bin/zierbogen" textures "$share/zierbogen-drucker/texturen" 2>&1)
rc=$?
check; [ $rc -eq 0 ] || fail "zierbogen textures ORDNER"
named_count=$(count_line "$named")
echo "$named_count"
check; [[ "$named_count" =~ ^[1-9][0-9]*\ Texturen,\ 0\ Dateien ]] || fail "die installierten Texturen lesen sich nicht: $named"
# Without an argument the program finds the share folder on its own.
default=$(cd "$root" && ./usr/bin/zierbogen textures 2>&1)
rc=$?
check; [ $rc -eq 0 ] || fail "zierbogen textures ohne Ordner"
check
grep -qxF "Texturordner: $share/zierbogen-drucker/texturen" <<<"$default" ||
  fail "ohne Ordner nicht der installierte: $(head -n 1 <<<"$default")"
check; [ "$(count_line "$default")" = "$named_count" ] || fail "ohne Ordner andere Texturen: $default"
head -n 1 <<<"$default"
expect "zierbogen info eines Beispiels" "$root/usr/bin/zierbogen" info "$share/zierbogen-drucker/examples/beispiel.zbg"

echo
if [ $failures -ne 0 ]; then
  echo "Paketprüfung: $failures von $checks Prüfungen gescheitert"
  exit 1
fi
echo "Paketprüfung: alle $checks Prüfungen bestanden"
