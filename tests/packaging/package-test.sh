#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a temporary
# root and runs the installed pachka from a directory that holds no build
# files: the forms print with the installed templates, and a user's edited
# title template is used before the shipped one.
#
#   package-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "package-test: $*" >&2; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log") ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/pkg/pachkaview_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no pachkaview_*.deb written"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libfreetype6 libfontconfig1 fonts-liberation2; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

dpkg -x "$deb" "$work/root"
usr="$work/root/usr"
for f in bin/pachka bin/pachkaview share/pachkaview/TempPlay/szv_4_1.frf \
         share/pachkaview/TempPlay/Titl.frf share/applications/pachkaview.desktop \
         share/icons/hicolor/scalable/apps/pachkaview.svg share/man/man1/pachka.1; do
  [ -e "$usr/$f" ] || fail "the package lacks /usr/$f"
done
grep -q '^Exec=pachkaview %f$' "$usr/share/applications/pachkaview.desktop" ||
  fail "the menu entry does not start the program"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$usr/share/applications/pachkaview.desktop"
fi

# A user of the installed program: own home, no build folder anywhere near.
export HOME="$work/home"
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME" "$work/elsewhere"
cd "$work/elsewhere"
pachka="$usr/bin/pachka"

"$pachka" pdf "$src/samples/szv_4_1.txt" -o forms.pdf
pdftotext forms.pdf - | grep "ИВАНОВ" >/dev/null || fail "the installed pachka printed no SZV-4-1 form"

"$pachka" title "$src/samples/szv_4_1.txt" -o title.pdf
pdftotext title.pdf - | grep "016-001-000123" >/dev/null || fail "the title page lacks the batch's values"

# The per-user copy, where the designer writes an edited template, wins.
user="$HOME/.local/share/pachkaview/TempPlay"
mkdir -p "$user"
"$pachka" template decompile "$usr/share/pachkaview/TempPlay/Titl.frf" |
  sed 's/ТИТУЛЬНЫЙ ЛИСТ/ТИТУЛЬНЫЙ ЛИСТ ПАЧКИ/' >edited.pvt
"$pachka" template compile edited.pvt -o "$user/Titl.frf"
"$pachka" title "$src/samples/szv_4_1.txt" -o edited.pdf
pdftotext edited.pdf - | grep "ТИТУЛЬНЫЙ ЛИСТ ПАЧКИ" >/dev/null || fail "the user's copy was not used"
echo "package-test: $(basename "$deb") installs and prints"
