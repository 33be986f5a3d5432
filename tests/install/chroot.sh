#!/bin/sh
# Runs inside.sh in a fresh tree: an overlay of BASE in WORK/root (a
# copy where overlays cannot be mounted), with /dev, /proc, apt's
# archive folder WORK/archives and the folder of the test WORK/share
# (as /tmp/orv); chroot and /proc under WRAP, a command that runs its
# arguments (for armhf: userns.sh QEMU).  Run it in a mount namespace of
# its own (mountns.sh), so that all of it goes with the namespace
# whatever happens.
# Usage: chroot.sh BASE WORK [WRAP...]
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
# shellcheck disable=SC2016 # the inner shell expands $1
"$@" sh -euc 'mount -t proc proc "$1/proc"; exec chroot "$1" /bin/sh /tmp/orv/inside.sh' sh "$root"
