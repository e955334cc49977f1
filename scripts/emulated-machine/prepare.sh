#!/usr/bin/env bash
# Prepares what the emulated machine boots, in the folder given (kept between
# runs): vmlinux, the uncompressed kernel of Debian's linux-image-amd64
# (under software emulation, decompressing at boot costs 20 s more), and
# initramfs.img: a static busybox, the virtio and 9p modules and guest-init.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
box=$1
mkdir -p "$box"
[ -f "$box/vmlinux" ] && [ -f "$box/initramfs.img" ] && [ "$box/initramfs.img" -nt "$here/guest-init.sh" ] &&
  exit 0

for tool in qemu-system-x86_64 apt-get dpkg-deb python3; do
  command -v "$tool" >/dev/null || { echo "prepare: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done
# The initramfs has no libraries: its busybox must be the static one.
dpkg-query -W -f='${Status}' busybox-static 2>/dev/null | grep -q 'install ok installed' ||
  { echo "prepare: busybox-static is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
if [ ! -f "$box/vmlinux" ] || [ ! -d "$box/modules" ]; then
  fetch() {
    local package
    package=$(apt-cache depends linux-image-amd64 2>/dev/null |
              sed -n 's/^ *Depends: \(linux-image-[0-9].*\)/\1/p' | head -n 1)
    [ -n "$package" ] &&
      (cd "$work" && apt-get download -q -o APT::Sandbox::User=root "$package" >/dev/null 2>&1)
  }
  # Stale package lists may name a kernel the archive no longer has.
  fetch || { apt-get update -qq && fetch; } ||
    { echo "prepare: could not download Debian's linux-image-amd64" >&2; exit 1; }
  dpkg-deb -x "$work"/linux-image-*.deb "$work/kernel"
  # The bzImage holds an xz stream: the kernel as an ELF file, which QEMU
  # boots through its PVH entry.
  python3 - "$work"/kernel/boot/vmlinuz-* "$work/vmlinux" <<'PY'
import lzma, sys
image = open(sys.argv[1], 'rb').read()
start = image.find(b'\xfd7zXZ\x00')
assert start >= 0, 'no xz stream in the kernel image'
kernel = lzma.LZMADecompressor(format=lzma.FORMAT_XZ).decompress(image[start:])
assert kernel[:4] == b'\x7fELF', 'the kernel image holds no ELF file'
open(sys.argv[2], 'wb').write(kernel)
PY
  rm -rf "$box/modules"
  mkdir -p "$box/modules"
  for module in virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci \
                netfs fscache 9pnet 9pnet_virtio 9p; do
    found=$(find "$work/kernel/lib/modules" -name "$module.ko*" | head -n 1)
    [ -n "$found" ] || { echo "prepare: the kernel has no module $module" >&2; exit 1; }
    case $found in
      *.xz) xz -dc "$found" >"$box/modules/$module.ko" ;;
      *) cp "$found" "$box/modules/$module.ko" ;;
    esac
  done
  mv "$work/vmlinux" "$box/vmlinux"
fi

tree=$work/initramfs
mkdir -p "$tree"/{bin,dev,proc,sys,newroot,modules}
cp /bin/busybox "$tree/bin/busybox"
for applet in sh mount umount insmod chroot stty poweroff cat sync mkdir; do
  ln -s busybox "$tree/bin/$applet"
done
cp "$box"/modules/*.ko "$tree/modules/"
cp "$here/guest-init.sh" "$tree/init"
chmod 755 "$tree/init"
(cd "$tree" && find . | LC_ALL=C sort | busybox cpio -o -H newc 2>/dev/null) >"$work/initramfs.img"
mv "$work/initramfs.img" "$box/initramfs.img"
