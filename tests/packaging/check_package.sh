#!/bin/sh
# Builds the Debian package from a build tree, unpacks it into a scratch root with
# dpkg-deb -x, and checks that the tool, the launcher, the desktop entry, the icons and the
# metainfo are there and valid, and that the package depends on the libraries the tool
# links. Usage: check_package.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack could not build the package"
fi
set -- "$work"/out/moduletool_*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then fail "not one package: $*"; fi
deb=$1
root=$work/root
dpkg-deb -x "$deb" "$root"

# The control fields: the name, and the dependencies computed from the binary.
[ "$(dpkg-deb -f "$deb" Package)" = moduletool ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
has_dependency() {
  printf '%s\n' "$depends" | tr ',|' '\n\n' | sed 's/^ *//' | grep -q "^$1\( \|$\)"
}
bin=$root/usr/bin
[ -x "$bin/moduletool" ] || fail "no executable usr/bin/moduletool"

# Every library the packaged binary names as needed belongs to a package the package depends
# on, found here from the library's file (the linker of a build without sanitizers leaves
# out a library nothing uses, so the list is the binary's own, not a fixed one).
needed=$(objdump -p "$bin/moduletool" | awk '$1 == "NEEDED" { print $2 }')
[ -n "$needed" ] || fail "the binary names no library it needs"
for soname in $needed; do
  path=$(ldd "$bin/moduletool" | awk -v s="$soname" '$1 == s && $3 ~ /^\// { print $3 }')
  [ -n "$path" ] || fail "$soname is not found"
  owner=""
  for candidate in "$path" "$(readlink -f "$path")" "/usr${path#/usr}" "${path#/usr}"; do
    owner=$(dpkg -S "$candidate" 2>/dev/null | head -n 1 | cut -d: -f1) && [ -n "$owner" ] && break
  done
  [ -n "$owner" ] || fail "no package holds $path ($soname)"
  has_dependency "$owner" || fail "Depends lacks $owner for $soname: $depends"
done
# Qt's platform plugins, which no library of the binary names, and the libraries every
# build of the tool uses whatever it leaves out.
for p in qt6-qpa-plugins libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6serialport6; do
  has_dependency "$p" || fail "Depends lacks $p: $depends"
done

# Everything lives under /usr.
extra=$(find "$root" -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$extra" ] || fail "files outside /usr: $extra"

# The tool and its launcher, side by side; every library the tool needs is found.
file -b "$bin/moduletool" | grep -q '^ELF .*executable' || fail "usr/bin/moduletool is not an ELF program"
if ldd "$bin/moduletool" | grep -q 'not found'; then
  ldd "$bin/moduletool" | grep 'not found' >&2
  fail "libraries of usr/bin/moduletool not found"
fi
[ -x "$bin/moduletool-launcher" ] || fail "no executable usr/bin/moduletool-launcher"
sh -n "$bin/moduletool-launcher" || fail "the launcher is no valid shell script"

# The desktop entry: valid, both languages, runs the launcher, names the installed icon.
desktop=$root/usr/share/applications/org.moduletool.optimizer.desktop
[ -f "$desktop" ] || fail "no desktop entry"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop" || fail "desktop entry not valid"
else
  echo "note: desktop-file-validate is not installed; the desktop entry is not validated"
fi
key() { sed -n "s/^$1=//p" "$desktop"; }
for k in Name 'Name\[ru\]' Comment 'Comment\[ru\]'; do
  [ -n "$(key "$k")" ] || fail "desktop entry lacks $k"
done
exec_cmd=$(key Exec)
[ "${exec_cmd%% *}" = moduletool-launcher ] || fail "Exec runs '$exec_cmd', not the launcher"
[ "$(key TryExec)" = moduletool-launcher ] || fail "TryExec is not the launcher"
icon=$(key Icon)
icons=$root/usr/share/icons/hicolor
[ -f "$icons/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
file -b "$icons/scalable/apps/$icon.svg" | grep -q 'SVG' || fail "$icon.svg is no SVG image"
[ -f "$icons/256x256/apps/$icon.png" ] || fail "no 256 px icon $icon.png"
file -b "$icons/256x256/apps/$icon.png" | grep -q '^PNG image data, 256 x 256' || fail "$icon.png is not a 256 x 256 PNG"

# The AppStream metainfo: valid, and it launches the installed desktop entry.
metainfo=$root/usr/share/metainfo/org.moduletool.optimizer.metainfo.xml
[ -f "$metainfo" ] || fail "no metainfo"
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$metainfo" || fail "metainfo not valid"
else
  echo "note: appstreamcli is not installed; the metainfo is not validated"
fi
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$root/usr/share/applications/$launchable" ] || fail "metainfo launches '$launchable', which is not installed"

echo "package $(basename "$deb") checked"
