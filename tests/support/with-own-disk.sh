#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Brisel developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# with-own-disk.sh TYPE OPTIONS PROGRAM [ARGUMENT...]
# Runs PROGRAM with a disk of its own: a file system of TYPE mounted with OPTIONS (as mount -o
# takes them; "-" for none) in a new user and mount namespace, which needs no root, its path in
# BRISEL_OWN_DISK. A tmpfs with size=512k is a disk that fills up; a ramfs is one that keeps no
# extended attributes. Outside the namespace nothing is mounted. When the namespace or the mount
# cannot be made this fails, so a test that needs such a disk never passes without one.
set -eu
if [ "$#" -lt 3 ]; then
    echo "usage: $0 TYPE OPTIONS PROGRAM [ARGUMENT...]" >&2
    exit 2
fi
type=$1 options=$2
shift 2
disk=$(mktemp -d "${TMPDIR:-/tmp}/brisel-own-disk.XXXXXX")
trap 'rmdir "$disk"' EXIT
status=0
unshare --user --map-root-user --mount sh -c '
    type=$1 options=$2 disk=$3
    shift 3
    if [ "$options" = - ]; then
        mounted() { mount -t "$type" brisel-own-disk "$disk"; }
    else
        mounted() { mount -t "$type" -o "$options" brisel-own-disk "$disk"; }
    fi
    mounted || {
        echo "with-own-disk.sh: cannot mount a $type ($options) on $disk" >&2
        exit 1
    }
    BRISEL_OWN_DISK=$disk "$@"
' with-own-disk "$type" "$options" "$disk" "$@" || status=$?
exit "$status"
