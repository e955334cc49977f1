#!/bin/sh
# /init of the emulated machine (busybox). Mounts this machine's root, shared
# read-only, with the project's build tree writable over it and memory where
# programs write, runs the command the host left in the build tree, writes
# its exit status beside it, marked with the run's name, and powers off.
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
exec </dev/console >/dev/console 2>&1
stty -onlcr 2>/dev/null  # the host reads plain LF lines

die() { echo "emulated machine: $*"; poweroff -f; }

# Dependency order: this initramfs has no modules.dep.
for module in virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci \
              netfs fscache 9pnet 9pnet_virtio 9p; do
  insmod "/modules/$module.ko" || die "cannot load the kernel module $module"
done

project=
run=
for word in $(cat /proc/cmdline); do
  case $word in
    nirevo.project=*) project=${word#nirevo.project=} ;;
    nirevo.run=*) run=${word#nirevo.run=} ;;
  esac
done
[ -n "$project" ] || die "no nirevo.project= on the kernel command line"
[ -n "$run" ] || die "no nirevo.run= on the kernel command line"

# cache=loose: executing and mapping files from a 9p share need it.
options=trans=virtio,version=9p2000.L,msize=512000,cache=loose
mount -t 9p -o "$options,ro" root /newroot || die "cannot mount the host's root"
for dir in tmp run root var/tmp var/lib/xkb var/log var/cache; do
  [ -d "/newroot/$dir" ] && mount -t tmpfs -o mode=1777 tmpfs "/newroot/$dir"
done
# The project has a share of its own, so that it shows through the memory
# mounted over /tmp or /root when it lives there.
mkdir -p "/newroot$project" 2>/dev/null
mount -t 9p -o "$options,ro" project "/newroot$project" || die "cannot mount the project"
mount -t 9p -o "$options" build "/newroot$project/build" || die "cannot mount the build tree"
mount --move /dev /newroot/dev
mkdir -p /newroot/dev/shm /newroot/dev/pts
mount -t tmpfs -o mode=1777 tmpfs /newroot/dev/shm
mount -t devpts devpts /newroot/dev/pts 2>/dev/null
mount --move /proc /newroot/proc
mount --move /sys /newroot/sys

# The status is this run's, with the name the host gave it: a status file
# left by another run, or none, is no answer.
box=$project/build/emulated-machine
chroot /newroot /bin/bash "$box/command"
status=$?
echo "$run $status" >"/newroot$box/status"
sync
umount "/newroot$project/build"
poweroff -f
