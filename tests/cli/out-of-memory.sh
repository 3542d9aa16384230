#!/usr/bin/env bash
# Runs a pagewell-cli under an address-space limit on a project of ten pages
# that each expand to about 200 MB: the run must end with "Out of memory."
# and exit 1, never with a signal, whichever allocator the binary has.
#
#   out-of-memory.sh PAGEWELL-CLI
#
# Exits 77 (skipped) when the binary is missing or cannot start under the
# limit at all (a sanitizer build reserves terabytes of address space).
set -uo pipefail
cli=$1
limit_kb=400000
if [ ! -x "$cli" ]; then
  echo "SKIP: $cli not built"
  exit 77
fi
if ! (ulimit -v "$limit_kb" && "$cli" --version >/dev/null 2>&1); then
  echo "SKIP: $cli does not start under ulimit -v $limit_kb"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for folder in home cache config data tmp; do mkdir -p "$work/$folder"; done
export HOME=$work/home XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config \
  XDG_DATA_HOME=$work/data TMPDIR=$work/tmp
cd "$work"

# A page template that inserts the object's text a hundred times.
mkdir templates
{
  echo '[@TEXT=!]'
  for _ in $(seq 100); do echo '[TEXT]'; done
} >templates/Big.hdr.txt
: >templates/Big.pgh.txt
: >templates/Big.lnk.txt
text=$(head -c 2000000 /dev/zero | tr '\0' x)
page() {
  printf '{"tag":"%s","type":0,"title":"%s","text":"%s","info":{"template":"Big"},"children":[%s]}' \
    "$1" "$1" "$text" "$2"
}
children=""
for i in $(seq 9); do children+="${children:+,}$(page "p$i" "")"; done
printf '{"properties":{"template":"Big"},"tree":[%s]}' "$(page index "$children")" >big.json
"$cli" import big.json big.pwl || { echo "FAIL: import"; exit 1; }

(ulimit -v "$limit_kb" && exec "$cli" generate big.pwl --dest out) >out.txt 2>&1
status=$?
if [ "$status" -ne 1 ] || ! grep -q "Out of memory\." out.txt; then
  echo "FAIL: generate under ulimit -v $limit_kb exited $status:"
  head -c 2000 out.txt
  exit 1
fi
echo "ok: Out of memory., exit 1"
