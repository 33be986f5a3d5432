#!/bin/sh
# Runs inside.sh in the tree ROOT, with a /proc of the process namespace
# it is run in.  Usage: enter.sh ROOT
set -eu
mount -t proc proc "$1/proc"
exec chroot "$1" /bin/sh /tmp/orv/inside.sh
