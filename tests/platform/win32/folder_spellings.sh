#!/bin/sh
# make|remove FOLDER: what Wine cannot make itself for the claim's table of folder spellings, made
# on the host around the test: FOLDER with "A folder of a long name" in it, "link", a symbolic
# link to that folder (Wine's stand-in for a junction), and a drive letter of the Wine prefix
# onto FOLDER (Wine's stand-in for a substituted drive), named in FOLDER/drive. Never fails: the
# test leaves out what is not there.
folder=$2
devices=${WINEPREFIX:-$HOME/.wine}/dosdevices
# The drive letter of this folder made before, if any.
drive_of_folder() {
  for link in "$devices"/?:; do
    [ "$(readlink "$link")" = "$folder" ] && basename "$link" && return
  done
}
case $1 in
  make)
    mkdir -p "$folder/A folder of a long name"
    ln -sfn "A folder of a long name" "$folder/link"
    drive=$(drive_of_folder)
    if [ -z "$drive" ] && [ -d "$devices" ]; then
      for letter in m n o p q r s t u v w x y; do
        [ -e "$devices/$letter:" ] || [ -L "$devices/$letter:" ] && continue
        ln -s "$folder" "$devices/$letter:" && drive=$letter: && break
      done
    fi
    if [ -n "$drive" ]; then echo "$drive" >"$folder/drive"; else rm -f "$folder/drive"; fi
    ;;
  remove)
    drive=$(drive_of_folder)
    [ -n "$drive" ] && rm -f "$devices/$drive"
    rm -rf "$folder"
    ;;
esac
exit 0
