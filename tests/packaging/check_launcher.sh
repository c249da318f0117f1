#!/bin/sh
# Starts the tool through its launcher with a scratch HOME and checks that the settings
# files of the first start appear in the per-user folder, and nowhere else: not in the
# folder it was started from, not in the home folder. Usage: check_launcher.sh LAUNCHER TOOL
set -eu
launcher=$1
tool=$(readlink -f -- "$2")
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/log" ] && cat "$work/log" >&2
  exit 1
}

# The launcher starts the program beside it, so both go into one folder, as installed.
mkdir -p "$work/bin" "$work/links"
cp "$launcher" "$work/bin/moduletool-launcher"
ln -s "$tool" "$work/bin/moduletool"
ln -s "$work/bin/moduletool-launcher" "$work/links/launch"
# Under the suite's X server when there is one, else without a display.
QT_QPA_PLATFORM=${DISPLAY:+xcb}
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

# run CASE LAUNCHER DATA_HOME EXPECTED_FOLDER: starts the launcher in an empty folder with
# the home folder $work/CASE/home and XDG_DATA_HOME=DATA_HOME (unset when "-"), waits until
# the first start has written both settings files (bounded), ends the program, and checks
# where the files are.
run() {
  case_dir=$work/$1
  home=$case_dir/home
  start=$case_dir/start
  expected=$3
  mkdir -p "$home" "$start"
  cd "$start"
  if [ "$2" = - ]; then
    env -u XDG_DATA_HOME HOME="$home" "$4" >"$work/log" 2>&1 &
  else
    env HOME="$home" XDG_DATA_HOME="$2" "$4" >"$work/log" 2>&1 &
  fi
  pid=$!
  cd "$work"
  # Both files are written at once at the first start, each replacing nothing (written
  # whole, then renamed), so their presence means the start has written them.
  tries=0
  until [ -f "$expected/Info_A.ini" ] && [ -f "$expected/Config_A.ini" ]; do
    elsewhere=$(find "$case_dir" -name Info_A.ini ! -path "$expected/*")
    [ -z "$elsewhere" ] || fail "$1: the settings were written to $elsewhere"
    kill -0 "$pid" 2>/dev/null || fail "$1: the program ended before writing its settings"
    tries=$((tries + 1))
    [ $tries -le 1200 ] || fail "$1: no settings files in $expected after 120 s"
    sleep 0.1
  done
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  [ -z "$(ls -A "$start")" ] || fail "$1: the start folder is not empty: $(ls -A "$start")"
  found=$(find "$case_dir" -name Info_A.ini -o -name Config_A.ini | sort -u | tr '\n' ' ')
  [ "$found" = "$expected/Config_A.ini $expected/Info_A.ini " ] || fail "$1: settings files at $found"
  echo "$1: settings in ${expected#"$work"/}"
}

run default - "$work/default/home/.local/share/moduletool" "$work/bin/moduletool-launcher"
run data-home "$work/data-home/data" "$work/data-home/data/moduletool" "$work/bin/moduletool-launcher"
# A relative XDG_DATA_HOME is no valid setting and means the default; a link to the
# launcher still finds the program beside the launcher itself.
run relative-through-link data "$work/relative-through-link/home/.local/share/moduletool" "$work/links/launch"
