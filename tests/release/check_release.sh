#!/usr/bin/env bash
# Builds the release zip and checks it: both programs and the players' text are in it, and
# each program imports only DLLs that every Windows machine has, so the zip runs as it is.
# usage: check_release.sh OBJDUMP BUILD_DIR
set -euo pipefail
objdump=$1
build=$2
cd "$build"
cpack -G ZIP >/dev/null
zip=$(ls -t vorlane-tools-*.zip | head -1)
contents=$(cmake -E tar tf "$zip")
for file in crosshairs.exe vorlane.exe README.txt; do
  grep -q "/$file\$" <<<"$contents" || { echo "missing from $zip: $file"; exit 1; }
done

# Only KnownDLLs, which Windows takes from its own folder whatever the search: nothing is looked for
# in the program's folder before its first line runs (every other DLL it loads later, from the
# system folder).
system_dlls="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll
user32.dll"
for program in crosshairs/crosshairs.exe vorlane/vorlane.exe; do
  imports=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  [ -n "$imports" ] || { echo "$program: no imports read"; exit 1; }
  for dll in $imports; do
    grep -qw "$dll" <<<"$system_dlls" || { echo "$program imports $dll, not a KnownDLL"; exit 1; }
  done
  echo "$program imports only: $(echo $imports)"
  # Loaded at a random address (0x40) with data not executable (0x100).
  flags=$("$objdump" -p "$program" | sed -n 's/^DllCharacteristics\s*//p')
  (( (0x$flags & 0x140) == 0x140 )) || { echo "$program: no ASLR or DEP ($flags)"; exit 1; }
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
# The version resource's strings are UTF-16.
strings -el crosshairs/crosshairs.exe | grep -qx "2.3.0.5" || { echo "crosshairs: not version 2.3.0.5"; exit 1; }
strings -el vorlane/vorlane.exe | grep -qx "3.1.0.6" || { echo "vorlane: not version 3.1.0.6"; exit 1; }
echo "$zip: $(echo $contents)"
