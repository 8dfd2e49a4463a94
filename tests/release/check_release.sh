#!/usr/bin/env bash
# Makes the release from the programs built here twice, in other folders, time zones and umasks,
# and at another time, and checks that both are the same bytes; then that it holds the programs
# as built, linked at the commit's time with no path of the checkout in them, and the texts with
# Windows line ends; and that each program imports only DLLs that every Windows machine has.
# usage: check_release.sh OBJDUMP BUILD_DIR SOURCE_DATE_EPOCH
set -euo pipefail
objdump=$1
build=$2
export SOURCE_DATE_EPOCH=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(umask 022 && TZ=Pacific/Kiritimati "$root/scripts/release" --from "$build" "$work/one")
sleep 2
(cd / && umask 077 && TZ=America/Adak "$root/scripts/release" --from "$build" "$work/b/two")
cmp "$work/one/SHA256SUMS" "$work/b/two/SHA256SUMS" || { echo "two releases differ"; exit 1; }
(cd "$work/b/two" && sha256sum --quiet -c SHA256SUMS)
echo "made twice, the same: $(cat "$work/one/SHA256SUMS")"

cd "$work/one"
zip=$(ls ./*.zip)
name=$(basename "$zip" .zip)
contents=$(cmake -E tar tf "$zip")
expected=$(printf "$name/%s\n" crosshairs.exe vorlane.exe README.txt CHANGES.txt NOTICES.txt)
[ "$contents" = "$expected" ] || { echo "$zip holds, in this order: $(echo $contents)"; exit 1; }
cmake -E tar xf "$zip"
for text in README.txt CHANGES.txt NOTICES.txt; do
  if grep -q $'[^\r]$\|^$' "$name/$text"; then echo "$text: a line ends without CR"; exit 1; fi
done

cd "$build"
# Only KnownDLLs, which Windows takes from its own folder whatever the search: nothing is looked for
# in the program's folder before its first line runs (every other DLL it loads later, from the
# system folder).
system_dlls="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll
user32.dll"
for program in crosshairs/crosshairs.exe vorlane/vorlane.exe; do
  cmp "$program" "$work/one/$name/${program#*/}" || { echo "the zip's $program differs"; exit 1; }
  imports=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  [ -n "$imports" ] || { echo "$program: no imports read"; exit 1; }
  for dll in $imports; do
    grep -qw "$dll" <<<"$system_dlls" || { echo "$program imports $dll, not a KnownDLL"; exit 1; }
  done
  echo "$program imports only: $(echo $imports)"
  # Loaded at a random address (0x40) with data not executable (0x100).
  flags=$("$objdump" -p "$program" | sed -n 's/^DllCharacteristics\s*//p')
  (( (0x$flags & 0x140) == 0x140 )) || { echo "$program: no ASLR or DEP ($flags)"; exit 1; }
  # Linked at the commit's time, whenever that was, and from any folder.
  header=$(od -An -tu4 -j60 -N4 "$program" | tr -d ' ')
  linked=$(od -An -tu4 -j$((header + 8)) -N4 "$program" | tr -d ' ')
  [ "$linked" = "$SOURCE_DATE_EPOCH" ] || { echo "$program: linked at $linked"; exit 1; }
  if grep -qF "$root" "$program"; then echo "$program holds the path $root"; exit 1; fi
  # OLE is loaded when a JPEG or GIF picture first needs it, never with the start.
  if grep -qw "ole32.dll\|oleaut32.dll" <<<"$imports"; then
    echo "$program loads OLE at start"
    exit 1
  fi
done
# Each program carries only its own pictures (the embedded files' names travel with them).
grep -q "crosshairs/cr1.bmp" crosshairs/crosshairs.exe || { echo "crosshairs: no previews"; exit 1; }
grep -q "about/emblem.gif" crosshairs/crosshairs.exe || { echo "crosshairs: no About pictures"; exit 1; }
grep -q "vorlane/tray.bmp" vorlane/vorlane.exe || { echo "vorlane: no tray picture"; exit 1; }
if grep -q "crosshairs/cr\|reticles/rt\|about/" vorlane/vorlane.exe; then
  echo "vorlane carries crosshairs' pictures"
  exit 1
fi
# The manifest travels as plain text in the resources. It asks for the version 6 common controls
# and must not declare an execution level: the programs stay virtualised like the game they
# serve, so that they see the same files it does.
for program in crosshairs/crosshairs.exe vorlane/vorlane.exe; do
  grep -q "Microsoft.Windows.Common-Controls" "$program" || { echo "$program: no manifest"; exit 1; }
  if grep -q "<requestedExecutionLevel\|<trustInfo" "$program"; then
    echo "$program: its manifest declares an execution level"
    exit 1
  fi
done
# The version resource's strings are UTF-16; the players' guide gives them too.
for program in crosshairs:2.3.0.5 vorlane:3.1.0.6; do
  exe=${program%:*}/${program%:*}.exe version=${program#*:}
  strings -el "$exe" | grep -qx "$version" || { echo "$exe: not version $version"; exit 1; }
  grep -q "${program%:*}.exe, version $version" "$work/one/$name/README.txt" ||
    { echo "README.txt: no ${program%:*} $version"; exit 1; }
done
echo "$zip: $(echo $contents)"
