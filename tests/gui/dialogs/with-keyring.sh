#!/bin/sh
# Runs a test program with a desktop keyring of its own: a private session
# bus and gnome-keyring-daemon's Secret Service, unlocked with a throw-away
# password, keeping its files in a temporary HOME. The test sees
# PAGEWELL_TEST_KEYRING=1 then. Without the daemon it runs on a private bus
# with no keyring (or none at all), never on the user's own.
set -u
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -m 700 "$dir/home" "$dir/runtime"
export HOME="$dir/home" XDG_DATA_HOME="$dir/home/.local/share" XDG_RUNTIME_DIR="$dir/runtime"
unset GNOME_KEYRING_CONTROL
if ! command -v dbus-run-session >/dev/null; then
  DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/no-bus" "$@"
  exit $?
fi
dbus-run-session -- sh -c '
  if command -v gnome-keyring-daemon >/dev/null \
    && printf %s pagewell-test | gnome-keyring-daemon --unlock --components=secrets >/dev/null; then
    export PAGEWELL_TEST_KEYRING=1
  fi
  exec "$@"' sh "$@"
