#!/bin/sh
# mount|unmount FOLDER: a 1 MiB tmpfs on FOLDER/archives for the Windows full-disk tests. Never
# fails: where mounting is not allowed the tests skip themselves.
folder=$2
case $1 in
  mount)
    mkdir -p "$folder/archives"
    mountpoint -q "$folder/archives" || mount -t tmpfs -o size=1m tmpfs "$folder/archives" 2>/dev/null ||
      echo "small_disk: cannot mount a tmpfs on $folder/archives; the full-disk tests will skip"
    ;;
  unmount)
    mountpoint -q "$folder/archives" && umount "$folder/archives"
    ;;
esac
exit 0
