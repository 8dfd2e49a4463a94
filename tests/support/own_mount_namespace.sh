#!/bin/sh
# Runs a test program in a user and mount namespace of its own where the system allows one: there
# it may mount the small file systems it fills (a full disk) as an ordinary user too, and nothing
# it mounts is seen outside. Where the system refuses one it runs the program as it is, whose
# full-disk tests then skip and say why.
if unshare --user --map-root-user --mount true 2>/dev/null; then
  exec unshare --user --map-root-user --mount -- "$@"
fi
exec "$@"
