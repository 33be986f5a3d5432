#!/bin/sh
# Runs CMD in a mount namespace of its own from which no mount reaches
# this machine's, so that all of them go with the namespace whatever
# happens.  Usage: mountns.sh CMD...   (as root)
# Where / is a mount point, the namespace's mounts are made private.  In
# a chroot whose root is not one (a plain Debian build chroot), the
# mount that holds the chroot is out of reach: its propagation cannot be
# changed from inside, and the kernel makes no user namespace there.  So
# the namespace keeps the propagation it inherits, with the mounts in
# sight made private, once a probe has shown that the mount out of reach
# passes nothing on: a tmpfs mounted on a fresh folder of / in another
# namespace must not show in this one (where it does, its unmounting
# takes it away again at once).
set -eu
if unshare -m --propagation private true 2>/dev/null; then
	exec unshare -m --propagation private "$@"
fi
p=$(mktemp -d /orv-probe.XXXXXX)
# shellcheck disable=SC2016 # the inner shells expand their arguments
if ! shown=$(unshare -m --propagation unchanged sh -euc '
	mount -t tmpfs orv-probe "$1"
	awk -v p="$1" "\$5 == p" "/proc/$2/mountinfo"
	umount "$1"' sh "$p" $$); then
	rmdir "$p"
	echo "$0: cannot probe the propagation of the mount that holds this chroot" >&2
	exit 1
fi
rmdir "$p"
if [ -n "$shown" ]; then
	echo "$0: the root of this chroot is no mount point, and lies on a shared" \
		"mount: what the test mounts would show outside it.  Make the root a" \
		"mount point (mount --rbind DIR DIR before chroot DIR)." >&2
	exit 1
fi
# shellcheck disable=SC2016
exec unshare -m --propagation unchanged sh -euc '
	awk "{ print \$5 }" /proc/self/mountinfo | while read -r m; do
		mount --make-private "$m"
	done
	exec "$@"' sh "$@"
