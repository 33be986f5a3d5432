#!/bin/sh
# Makes a fresh tree and runs CMD... ROOT, ROOT its path: an overlay of
# BASE in WORK/root (a copy where overlays cannot be mounted), with
# /dev, apt's archive folder WORK/archives and the folder of the test
# WORK/share (as /tmp/orv).  CMD mounts /proc, in the process namespace
# it makes if any, and enters (enter.sh; for armhf under userns.sh
# QEMU).  Run it in a mount namespace of its own (mountns.sh), so that
# all of it goes with the namespace whatever happens.
# Usage: chroot.sh BASE WORK CMD...
set -eu
base=$1 work=$2
shift 2
root=$work/root
mkdir -p "$root" "$work/upper" "$work/ovl"
mount -t overlay overlay -o "lowerdir=$base,upperdir=$work/upper,workdir=$work/ovl" "$root" ||
	cp -a "$base/." "$root"
mount --rbind /dev "$root/dev"
mount --bind "$work/archives" "$root/var/cache/apt/archives"
mkdir -p "$root/tmp/orv"
mount --bind "$work/share" "$root/tmp/orv"
cp /etc/resolv.conf "$root/etc/resolv.conf"
"$@" "$root"
