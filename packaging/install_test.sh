#!/usr/bin/env bash
# The suite as delivered: builds the Debian package from a built tree, checks
# its control fields and that it holds exactly the expected files, unpacks it
# into a temporary root and runs the programs from there: a piped Tevol_2
# session through its command link, and the launcher through its link with a
# display that cannot be opened, so that it falls back from the window to its
# text menu and runs the chosen Tevol_2 from its own directory. PATH holds no
# calculator, so only the directory of the launcher can supply it. Last,
# cmake --install into another prefix gives the same layout.
#
# usage: install_test.sh BUILD_DIR VERSION EXPECTED_FILES FIXTURE_DIR
#   EXPECTED_FILES: one line per file or link of the package, as
#                   "mode owner/group ./path[ -> link target]", sorted
#   FIXTURE_DIR:    a Tevol_2 case: stdin, stdout, stderr, status, after/
set -euo pipefail
build=$1 version=$2 expected=$3 fixture=$4

fail() { echo "FAIL: $*" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/empty" "$tmp/root"

# The package, in BUILD_DIR/package where it stays for whoever wants it.
if ! cpack --config "$build/CPackConfig.cmake" -B "$build/package" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log" >&2
  fail "cpack"
fi
deb="$build/package/tevol_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package $deb"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tevol ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Maintainer)" = "Tevol Developers <tevol-dev@example.invalid>" ] ||
  fail "Maintainer: $(field Maintainer)"
depends=$(field Depends)
for wanted in 'libqt6widgets6 (>= ' 'libc6 (>= ' 'fonts-ipafont-gothic | fonts-japanese-gothic' \
              'x-terminal-emulator'; do
  case "$depends" in *"$wanted"*) ;; *) fail "Depends lacks '$wanted': $depends" ;; esac
done
description=$(field Description)
case "$description" in *'Only intake by inhalation'*'吸入摂取にのみ対応'*) ;;
  *) fail "Description is not in English and Japanese: $description" ;; esac

# Exactly the expected files and links, with their modes and owners.
dpkg-deb -c "$deb" |
  awk '$1 !~ /^d/ { line = $1 " " $2; for (i = 6; i <= NF; i++) line = line " " $i; print line }' |
  LC_ALL=C sort >"$tmp/files"
diff -u "$expected" "$tmp/files" || fail "the package's files differ from $expected"

dpkg-deb -x "$deb" "$tmp/root"
usr="$tmp/root/usr"

# The menu entry names a command and an icon that the package holds.
desktop-file-validate "$usr/share/applications/tevol.desktop" || fail "desktop entry"
exec_command=$(sed -n 's/^Exec=//p' "$usr/share/applications/tevol.desktop")
icon=$(sed -n 's/^Icon=//p' "$usr/share/applications/tevol.desktop")
[ -x "$usr/bin/$exec_command" ] || fail "Exec=$exec_command is not an installed command"
grep -q '^ *"32 32 ' "$usr/share/icons/hicolor/32x32/apps/$icon.xpm" ||
  fail "icon $icon is not a 32 x 32 picture in the theme's 32x32 place"

# Compares a run in $1 (stdout, stderr, status, work/) with the fixture;
# $2 is the part of standard output that comes before the calculator's.
compare_run() {
  local run=$1 before=$2
  printf '%s' "$before" | cat - "$fixture/stdout" | cmp - "$run/stdout" ||
    fail "$run: standard output differs"
  cmp "$fixture/stderr" "$run/stderr" || fail "$run: standard error differs"
  [ "$(cat "$run/status")" = "$(cat "$fixture/status")" ] || fail "$run: exit status $(cat "$run/status")"
  diff -r "$fixture/after" "$run/work" || fail "$run: report files differ"
}

# A piped Tevol_2 session through its command link.
mkdir -p "$tmp/calculator/work"
status=0
(cd "$tmp/calculator/work" && PATH="$tmp/empty" "$usr/bin/Tevol_2" \
  <"$fixture/stdin" >../stdout 2>../stderr) || status=$?
echo "$status" >"$tmp/calculator/status"
compare_run "$tmp/calculator" ""
# The banner line shows the package's version.
grep -aqF "Tevol Ver.$version " "$tmp/calculator/stdout" || fail "no banner with version $version"

# The launcher through its link: no display to be had, so the text menu;
# choice 4 is Command4, Tevol_2, which gets the rest of the input.
mkdir -p "$tmp/launcher/work"
status=0
(cd "$tmp/launcher/work" && { printf '4\n'; cat "$fixture/stdin"; } |
  env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:7391 PATH="$tmp/empty" "$usr/bin/Tevol" \
  >../stdout 2>../stderr) || status=$?
echo "$status" >"$tmp/launcher/status"
prompt='(1-5) ? '
offset=$(grep -abo -F "$prompt" "$tmp/launcher/stdout" | head -n 1 | cut -d: -f1)
[ -n "$offset" ] || fail "the launcher showed no menu: $(head -c 2000 "$tmp/launcher/stdout")"
menu=$(head -c $((offset + ${#prompt})) "$tmp/launcher/stdout")
case "$menu" in *'4) 室内空気中濃度の実測値から算定する'*) ;;
  *) fail "the launcher's menu has no choice 4: $menu" ;; esac
compare_run "$tmp/launcher" "$menu"

# cmake --install into another prefix: the same files, the same links.
DESTDIR="$tmp/destdir" cmake --install "$build" --prefix /opt/tevol >"$tmp/install.log" 2>&1 ||
  { cat "$tmp/install.log" >&2; fail "cmake --install"; }
(cd "$tmp/destdir/opt/tevol" && find . ! -type d -printf '%p\n' | LC_ALL=C sort) >"$tmp/installed"
sed -e 's/^[^ ]* [^ ]* \.\/usr\//.\//' -e 's/ -> .*//' "$expected" | LC_ALL=C sort >"$tmp/expected-installed"
diff -u "$tmp/expected-installed" "$tmp/installed" || fail "cmake --install gives other files"
[ "$(readlink "$tmp/destdir/opt/tevol/bin/Tevol_4")" = ../lib/tevol/Tevol_4 ] ||
  fail "bin/Tevol_4 -> $(readlink "$tmp/destdir/opt/tevol/bin/Tevol_4")"
echo "package $deb: files, control fields, calculator and launcher runs as expected"
