#!/usr/bin/env bash
# The package folder and the Debian package as they are delivered:
#   package_test.sh PACKAGE_FOLDER DEB_FILE [setup]
# "setup" as third argument: the build makes setup, so the folder must hold it.
# Zentrik3.INF lists every file of the folder in its place; installed by that list into a
# temporary folder and prepared by tollund3 as setup prepares it, every sample object
# plots; the .deb, when one was made, holds its files in the system's places and its
# sample objects name its own sample files. Without a package folder: exit 77 (skipped).
set -uo pipefail
folder=$1
deb=$2
setup=${3:-}
docs=$(cd "$(dirname "$0")/../../docs" && pwd)

if [ ! -f "$folder/Zentrik3.INF" ]; then
  echo "No package folder at $folder: build the target package_folder first."
  exit 77
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Where an installation puts a file of the package folder.
destination_of() {
  case $1 in
    zentrik3 | tollund3 | setup) echo "$1" ;;
    *.md | *.png) echo "help/$1" ;;
    *.psu) echo "psu/$1" ;;
    *.zko) echo "objects/$1" ;;
    zentrik3.svg | zentrik3.desktop | zentrik-object.xml) echo "share/$1" ;;
    *) echo "plotdata/$1" ;;
  esac
}

# ---- Zentrik3.INF against the folder ----
listed=()
while IFS= read -r line; do
  if [[ ! $line =~ ^([^,]+),\ +(.+)$ ]]; then
    fail "Zentrik3.INF: not \"SOURCE, DESTINATION\": $line"
    continue
  fi
  source=${BASH_REMATCH[1]} destination=${BASH_REMATCH[2]}
  listed+=("$source")
  [ -f "$folder/$source" ] || fail "Zentrik3.INF lists $source, which the folder lacks"
  [ "$destination" = "$(destination_of "$source")" ] ||
    fail "Zentrik3.INF puts $source at $destination, not $(destination_of "$source")"
done < "$folder/Zentrik3.INF"

duplicates=$(printf '%s\n' "${listed[@]}" | sort | uniq -d)
[ -z "$duplicates" ] || fail "Zentrik3.INF lists more than once: $duplicates"
# (grep -q reads from a text, not a pipe: quitting early would kill the writer, and
# pipefail would count that as a miss)
listed_text=$(printf '%s\n' "${listed[@]}")
for file in "$folder"/*; do
  name=$(basename "$file")
  [ "$name" = Zentrik3.INF ] && continue
  grep -qxF "$name" <<< "$listed_text" || fail "$name is in the folder but not in Zentrik3.INF"
done

required=(zentrik3 tollund3 zentrik3.svg zentrik3.desktop zentrik-object.xml weather.dat weather.psu
          SAMPLE_1.zko SAMPLE_2.zko SAMPLE_3.zko SAMPLE_4.zko)
[ -n "$setup" ] && required+=(setup)
for page in "$docs"/*.md "$docs"/*.png; do required+=("$(basename "$page")"); done
for name in "${required[@]}"; do
  [ -f "$folder/$name" ] || fail "the package folder lacks $name"
done
for program in zentrik3 tollund3 $setup; do
  [ -x "$folder/$program" ] || fail "$program in the package folder is not executable"
done

# ---- The desktop files ----
if command -v desktop-file-validate > /dev/null; then
  problems=$(desktop-file-validate "$folder/zentrik3.desktop" | grep -v ': hint: ')
  [ -z "$problems" ] || fail "zentrik3.desktop is not valid: $problems"
fi
if command -v update-mime-database > /dev/null; then
  mkdir -p "$work/mime/packages"
  cp "$folder/zentrik-object.xml" "$work/mime/packages/"
  problems=$(XDG_DATA_HOME=$work update-mime-database "$work/mime" 2>&1)
  [ -z "$problems" ] || fail "zentrik-object.xml is not a good MIME package: $problems"
  grep -q 'application/x-zentrik-object:\*\.zko' "$work/mime/globs2" || fail "no *.zko glob in the MIME database"
  grep -qa '#!zentrik ' "$work/mime/magic" || fail "no #!zentrik magic in the MIME database"
fi

# ---- Installed by the list and prepared by tollund3, every sample object plots ----
install=$work/Zentrik3
mkdir -p "$install" "$work/home" "$work/config"
while IFS= read -r line; do
  [[ $line =~ ^([^,]+),\ +(.+)$ ]] || continue
  mkdir -p "$install/$(dirname "${BASH_REMATCH[2]}")"
  cp -p "$folder/${BASH_REMATCH[1]}" "$install/${BASH_REMATCH[2]}"
done < "$folder/Zentrik3.INF"

as_user() { env HOME="$work/home" XDG_CONFIG_HOME="$work/config" "$@"; }
as_user env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$install/tollund3" "$install"
[ -f "$install/zentrik.ini" ] || fail "tollund3 wrote no zentrik.ini"

[ "$(sed -n 2p "$install/objects/SAMPLE_4.zko")" = "sys_command tollund3" ] ||
  fail "SAMPLE_4.zko's pre-load command is not tollund3"
for object in "$install"/objects/SAMPLE_*.zko; do
  name=$(basename "$object")
  grep -qi /opt/zentrik3 "$object" && fail "$name still names /opt/zentrik3 after tollund3"
  report=$work/${name%.zko}.json
  if ! as_user QT_QPA_PLATFORM=offscreen "$install/zentrik3" --report "$report" "$object" 2> "$work/messages"; then
    fail "$name does not plot: $(cat "$work/messages")"
    continue
  fi
  data=$(sed -n 's/^    "path": "\(.*\)",$/\1/p' "$report" | head -1)
  [[ $data == "$install/plotdata/"* ]] || fail "$name plots $data, not a file of the installation's plotdata"
  grep -q '"quantity": 0,' "$report" && fail "$name has a formula without points"
done

# SAMPLE_4 excludes the lines where sensor B dropped out (-99.9): counted after its header.
if [ -f "$work/SAMPLE_4.json" ]; then
  dropouts=$(grep -n -- '-99\.9' "$install/plotdata/coldroom.log" | cut -d: -f1 | awk '{ print $1 - 1 }' | xargs)
  excluded=$(sed -n '/"excluded"/,/]/p' "$work/SAMPLE_4.json" | grep -o '[0-9]\+' | xargs)
  [ -n "$dropouts" ] && [ "$excluded" = "$dropouts" ] ||
    fail "SAMPLE_4 excludes lines '$excluded', the drop-outs are on lines '$dropouts'"
fi

# ---- The Debian package ----
if [ -f "$deb" ]; then
  [ "$(dpkg-deb -f "$deb" Package)" = zentrik ] || fail "the package is not named zentrik"
  grep -q libqt6widgets6 <<< "$(dpkg-deb -f "$deb" Depends)" || fail "the package does not depend on Qt's widgets"
  grep -q libcurl4 <<< "$(dpkg-deb -f "$deb" Depends)" || fail "the package does not depend on libcurl"
  grep -q libpulse0 <<< "$(dpkg-deb -f "$deb" Recommends)" || fail "the package does not recommend PulseAudio"
  dpkg-deb -c "$deb" | awk '{ print $6 }' > "$work/contents"
  for path in ./usr/bin/zentrik3 ./usr/bin/tollund3 ./usr/share/applications/zentrik3.desktop \
      ./usr/share/mime/packages/zentrik-object.xml ./usr/share/icons/hicolor/scalable/apps/zentrik3.svg \
      ./usr/share/man/man1/zentrik3.1.gz ./usr/share/man/man1/tollund3.1.gz \
      ./usr/share/doc/zentrik/copyright ./usr/share/doc/zentrik/changelog.gz ./usr/share/doc/zentrik/desktop.md; do
    grep -qxF "$path" "$work/contents" || fail "the package lacks $path"
  done
  grep -q '/setup$' "$work/contents" && fail "the package holds setup"
  for object in $(grep '/examples/objects/.*\.zko$' "$work/contents"); do
    data=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "$object" | head -1 | sed 's/^#!zentrik //')
    grep -qxF ".$data" "$work/contents" || fail "$object names $data, which the package lacks"
  done
  [ "$(grep -c '/examples/objects/.*\.zko$' "$work/contents")" -eq 4 ] || fail "the package lacks sample objects"
  checked="The package folder, its samples and the Debian package are"
else
  echo "No Debian package at $deb: its checks are skipped (scripts/package makes it)."
  checked="The package folder and its samples are"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "$checked as delivered."
