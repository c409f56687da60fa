#!/bin/sh
# with-small-disk.sh SIZE PROGRAM [ARGUMENT...]
# Runs PROGRAM with a disk of its own that fills up at SIZE (as tmpfs's size= takes it, 512k): a
# tmpfs mounted in a new user and mount namespace, which needs no root, its path in
# BRISEL_SMALL_DISK. Outside the namespace nothing is mounted. When the namespace or the mount
# cannot be made this fails, so a test that needs a full disk never passes without one.
set -eu
if [ "$#" -lt 2 ]; then
    echo "usage: $0 SIZE PROGRAM [ARGUMENT...]" >&2
    exit 2
fi
size=$1
shift
disk=$(mktemp -d "${TMPDIR:-/tmp}/brisel-small-disk.XXXXXX")
trap 'rmdir "$disk"' EXIT
status=0
unshare --user --map-root-user --mount sh -c '
    size=$1 disk=$2
    shift 2
    mount -t tmpfs -o "size=$size" brisel-small-disk "$disk" || {
        echo "with-small-disk.sh: cannot mount a tmpfs of $size on $disk" >&2
        exit 1
    }
    BRISEL_SMALL_DISK=$disk "$@"
' with-small-disk "$size" "$disk" "$@" || status=$?
exit "$status"
