#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what lands there: the
# programs, the workspace, the documentation, and (with the desktop program)
# the desktop entry, the software centre description and the icons. The
# validators run when they are installed (scripts/install-deps test).
# Usage: check-install.sh CMAKE BUILD_DIR WITH_GUI(0|1)
set -euo pipefail
cmake=$1
build=$2
gui=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

"$cmake" --install "$build" --prefix "$prefix" > "$prefix.log" || { cat "$prefix.log"; exit 1; }
rm -f "$prefix.log"

expected=(
  bin/pagewell-cli
  share/pagewell/templates/Default.hdr.txt
  share/pagewell/images/pagewell.jpg
  share/pagewell/images/home.gif
  share/pagewell/images/home.svg
  share/pagewell/templates/Default.png
  share/doc/pagewell/templates.md
  share/man/man1/pagewell-cli.1
)
if [ "$gui" = 1 ]; then
  expected+=(
    bin/pagewell
    share/man/man1/pagewell.1
    share/doc/pagewell/manual.html
    share/doc/pagewell/screenshot.png
    share/applications/pagewell.desktop
    share/metainfo/org.pagewell.Pagewell.metainfo.xml
    share/mime/packages/pagewell.xml
    share/icons/hicolor/scalable/apps/pagewell.svg
    share/icons/hicolor/scalable/mimetypes/application-x-pagewell.svg
  )
  for size in 16 24; do
    expected+=(share/icons/hicolor/${size}x${size}/apps/pagewell.png
               share/icons/hicolor/${size}x${size}/mimetypes/application-x-pagewell.png)
  done
fi
for file in "${expected[@]}"; do
  [ -s "$prefix/$file" ] || fail "$file is not installed"
done
[ -e "$prefix/share/pagewell/README.md" ] && fail "the workspace README is installed into the workspace"
grep -q '^## The template language' "$prefix/share/doc/pagewell/templates.md" \
  || fail "templates.md lacks the template language"
# Every picture the reference shows is installed where its link leads.
while read -r picture; do
  [ -s "$prefix/share/doc/pagewell/$picture" ] || fail "templates.md shows $picture, which is not installed"
done < <(grep -o '](sets/[^)]*)' "$prefix/share/doc/pagewell/templates.md" | sed 's/^](//; s/)$//')
grep -q '](\.\./' "$prefix/share/doc/pagewell/templates.md" && fail "templates.md links outside the documentation"

# The user guide holds the README's user sections, with its pictures beside it.
if [ "$gui" = 1 ]; then
  manual="$prefix/share/doc/pagewell/manual.html"
  grep -q 'Using the desktop program' "$manual" || fail "manual.html lacks the desktop program"
  grep -q 'For developers' "$manual" && fail "manual.html holds the developers' section"
  for picture in $(grep -o 'src="[^"]*"' "$manual" | sed 's/src="\(.*\)"/\1/'); do
    [ -s "$prefix/share/doc/pagewell/$picture" ] || fail "manual.html shows $picture, which is not installed"
  done
fi

# A fixed-size icon must be drawn at its size.
for png in "$prefix"/share/icons/hicolor/{16x16,24x24}/*/*.png; do
  [ -e "$png" ] || continue
  size=$(basename "$(dirname "$(dirname "$png")")")
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
  [ "$((w0 << 24 | w1 << 16 | w2 << 8 | w3))x$((h0 << 24 | h1 << 16 | h2 << 8 | h3))" = "$size" ] \
    || fail "$png is not $size"
done

# The version the tool prints is the one its manual page shows.
version=$("$prefix/bin/pagewell-cli" --version)
grep -q "^\.TH PAGEWELL-CLI 1 \"\" \"Pagewell ${version#pagewell-cli }\"" "$prefix/share/man/man1/pagewell-cli.1" \
  || fail "pagewell-cli.1 does not show version ${version#pagewell-cli }"

run_validator() {
  local tool=$1
  shift
  if ! command -v "$tool" > /dev/null; then
    echo "skipped: $tool is not installed"
    return
  fi
  local output
  if ! output=$("$@" 2>&1); then
    fail "$*"
    echo "$output"
  fi
}
for page in "$prefix"/share/man/man1/*.1; do
  # -ww: all warnings; a warning fails the page like an error.
  run_validator groff bash -c "out=\$(groff -man -ww -z -Tutf8 '$page' 2>&1); echo \"\$out\"; [ -z \"\$out\" ]"
done
if [ "$gui" = 1 ]; then
  run_validator desktop-file-validate desktop-file-validate "$prefix/share/applications/pagewell.desktop"
  run_validator appstreamcli appstreamcli validate --no-net "$prefix/share/metainfo/org.pagewell.Pagewell.metainfo.xml"
  run_validator appstreamcli appstreamcli validate-tree --no-net "$prefix"
fi
exit $failed
