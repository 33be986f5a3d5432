#!/bin/sh
# Runs CMD as root of a new user namespace (with the user IDs of this
# machine) and its own mount and process namespaces, where a binfmt_misc
# of the namespace's own starts 32-bit ARM programs with QEMU, a static
# qemu-arm: in a chroot too, since with flag F the kernel opens QEMU at
# registration.  Nothing is registered on the machine itself.
# Usage: userns.sh QEMU CMD...   (as root)
set -eu
qemu=$1
shift
d=$(mktemp -d)
trap 'rm -rf "$d"' EXIT
mkfifo "$d/go"
# shellcheck disable=SC2016 # the inner shell expands its arguments
unshare -U -m -p -f --mount-proc --propagation private sh -euc '
	read -r x <"$1"
	mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
	magic="\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x28\x00"
	mask="\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff"
	echo ":qemu-arm:M::$magic:$mask:$2:F" >/proc/sys/fs/binfmt_misc/register
	shift 2
	exec "$@"' sh "$d/go" "$qemu" "$@" &
pid=$!
# The IDs are mapped once unshare has made the namespace.
while [ "$(readlink "/proc/$pid/ns/user")" = "$(readlink /proc/self/ns/user)" ]; do
	sleep 0.1
done
# It is gone at once where no user namespace can be made (in a chroot).
kill -0 "$pid" 2>/dev/null || { wait "$pid"; exit 1; }
echo "0 0 65536" >"/proc/$pid/uid_map"
echo "0 0 65536" >"/proc/$pid/gid_map"
echo go >"$d/go"
wait "$pid"
