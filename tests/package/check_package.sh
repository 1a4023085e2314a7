#!/usr/bin/env bash
# The .deb made from this build: the files a workstation gets, the dependencies it declares (each a package
# Debian has, Qt's Russian catalogue among them), a desktop entry that validates, and no errors from lintian.
set -uo pipefail
build=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

if ! cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
deb=$(ls "$work"/piecework_*.deb)
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"

dpkg-deb -c "$deb" | awk '{print $1, $6}' | sed 's| \./| /|' >"$work/listing"
for f in /usr/bin/piecework /usr/bin/piecework-db; do
  grep -qx -- "-rwxr-xr-x $f" "$work/listing" || fail "$f missing or not executable"
done
for f in /usr/share/applications/piecework.desktop /usr/share/icons/hicolor/scalable/apps/piecework.svg \
         /usr/share/piecework/schema.sql /usr/share/piecework/demo.sql \
         /usr/share/man/man1/piecework.1.gz /usr/share/man/man1/piecework-db.1.gz \
         /usr/share/doc/piecework/copyright /usr/share/doc/piecework/changelog.gz \
         /usr/share/doc/piecework/guide.md; do
  grep -qx -- "-rw-r--r-- $f" "$work/listing" || fail "$f missing"
done
grep -v ' /usr/' "$work/listing" | grep -v ' /$' && fail "files outside /usr"

dpkg-deb -x "$deb" "$work/root"
for f in schema.sql demo.sql $(cd "$source_dir/db" && ls upgrade/*.sql); do
  cmp -s "$work/root/usr/share/piecework/$f" "$source_dir/db/$f" || fail "$f differs from db/$f"
done
# Installed, piecework-db finds the SQL beside itself.
"$work/root/usr/bin/piecework-db" --help >/dev/null || fail "the installed piecework-db does not run"
grep -q '^sql_dir=.*readlink' "$work/root/usr/bin/piecework-db" || fail "the installed piecework-db does not look beside itself"
grep -qF "$source_dir" "$work/root/usr/bin/piecework-db" && fail "the installed piecework-db names the build's checkout"
desktop-file-validate "$work/root/usr/share/applications/piecework.desktop" || fail "the desktop entry does not validate"
grep -qx 'Exec=piecework' "$work/root/usr/share/applications/piecework.desktop" || fail "the desktop entry does not start piecework"
grep -qx 'Icon=piecework' "$work/root/usr/share/applications/piecework.desktop" || fail "the desktop entry has not the program's icon"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libqt6sql6-odbc odbc-postgresql unixodbc postgresql-client fonts-liberation2 fonts-dejavu-core \
         qt6-translations-l10n libqt6core6 libqt6widgets6 libqt6sql6 libodbc2 libc6; do
  grep -qE "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
done
# The Russian catalogue the program loads comes from a dependency, in the folder where Qt looks for it.
catalogue=$(qtpaths6 --query QT_INSTALL_TRANSLATIONS)/qtbase_ru.qm
# (grep reads the whole list: a grep -q that stops early breaks the pipe, which pipefail counts as failure)
dpkg-query -L qt6-translations-l10n 2>/dev/null | grep -x "$catalogue" >/dev/null \
  || fail "qt6-translations-l10n does not hold $catalogue (is it installed? scripts/setup installs it)"
# Every name a dependency line mentions is a package Debian knows.
for field in Depends Recommends Suggests; do
  for p in $(dpkg-deb -f "$deb" "$field" | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g' | grep .); do
    apt-cache show "$p" >/dev/null 2>&1 || dpkg-query -W "$p" >/dev/null 2>&1 || fail "$field names $p, which Debian does not have"
  done
done

lintian --no-tag-display-limit "$deb" >"$work/lintian" 2>&1
grep -E '^[EWIPX]: ' "$work/lintian" | cut -d' ' -f1-3 | sort | uniq -c | sed 's/^ */lintian: /'
grep -q '^E: ' "$work/lintian" && fail "lintian reports errors: $(grep '^E: ' "$work/lintian" | tr '\n' ';')"

[ $fails -eq 0 ] && echo "the package holds what a workstation needs"
