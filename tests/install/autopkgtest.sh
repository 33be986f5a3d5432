#!/bin/sh
# Runs the source package's own tests (debian/tests) with autopkgtest on
# the packages WORK/debs/*.deb, in the tree ROOT through autopkgtest's
# chroot virtualisation server: the source package WORK/debs/*.dsc,
# what autopkgtest reports in WORK/autopkgtest/ (its summary in
# WORK/summary).  Usage: autopkgtest.sh WORK ROOT
# (as root, the last command of chroot.sh)
set -eu
work=$1 root=$2
mount -t proc proc "$root/proc"
exec autopkgtest --no-built-binaries --output-dir "$work/autopkgtest" \
	--summary-file "$work/summary" \
	"$work/debs/"*.dsc "$work/debs/"*.deb -- chroot "$root"
