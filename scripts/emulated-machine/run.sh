#!/usr/bin/env bash
# Runs a command inside an emulated x86-64 machine (QEMU, software emulation)
# that boots Debian's own kernel, sees this machine's root read-only and the
# project's build tree writable, and executes 32-bit programs even where this
# machine's kernel does not. The command runs as root with the project as
# its working directory and this environment's NIREVO_*, CI and
# SOURCE_DATE_EPOCH; its output streams here and its exit status is this
# script's. A guest that does not boot, finish or report is exit status 125.
#   run.sh [--timeout SECONDS] COMMAND [ARGUMENT...]
# Costs: the first use prepares a kernel and an initramfs under
# build/emulated-machine (about a minute); each boot takes 5 to 20 s, and
# every program runs several times slower than on this machine.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
box=$root/build/emulated-machine
timeout=3600
if [ "${1:-}" = --timeout ]; then timeout=$2; shift 2; fi
[ $# -gt 0 ] || { echo "usage: $0 [--timeout SECONDS] COMMAND [ARGUMENT...]" >&2; exit 2; }

fail() { echo "emulated machine: $*" >&2; exit 125; }

mkdir -p "$box"
# One machine at a time per tree: the command and its status pass through $box.
exec 9>"$box/lock"
flock -w "$timeout" 9 ||
  fail "waited for the emulated machine another run of this tree holds: gave up after $timeout s"
"$here/prepare.sh" "$box" || fail "could not prepare the kernel and initramfs"

# The command, as the guest's bash will run it.
{
  echo 'export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8'
  echo 'export NIREVO_EMULATED_MACHINE=1'
  for name in $(compgen -e); do
    case $name in NIREVO_NO_32BIT|NIREVO_DISPLAY_OWNED) ;; NIREVO_*|CI|SOURCE_DATE_EPOCH) printf 'export %s=%q\n' "$name" "${!name}" ;; esac
  done
  printf 'cd %q || exit 125\n' "$root"
  printf '%q ' exec "$@"
  echo
} >"$box/command"
rm -f "$box/status"
# The guest writes its status with this name; no other run's status counts.
run=$(date +%s%N)-$$-$RANDOM

# smap=off: with SMAP, QEMU 7.2's TCG oopses the guest kernel on the return to
# 32-bit user code. multidevs=remap: the root share crosses mounts.
status=0
timeout --kill-after=10 "$timeout" qemu-system-x86_64 \
  -machine q35 -accel tcg -cpu max,smap=off -smp "$(nproc)" -m 6144 \
  -display none -no-reboot -nic none -monitor none -serial stdio \
  -kernel "$box/vmlinux" -initrd "$box/initramfs.img" \
  -append "console=ttyS0 quiet loglevel=3 panic=-1 nirevo.project=$root nirevo.run=$run" \
  -virtfs local,path=/,mount_tag=root,security_model=none,readonly=on,multidevs=remap \
  -virtfs local,path="$root",mount_tag=project,security_model=none,readonly=on,multidevs=remap \
  -virtfs local,path="$box/..",mount_tag=build,security_model=none,multidevs=remap \
  </dev/null || status=$?
[ "$status" = 124 ] && fail "waited for the guest's command to end: gave up after $timeout s (the time-out)"
[ -f "$box/status" ] || fail "the guest ended without reporting an exit status (QEMU's status: $status)"
read -r reported code <"$box/status" || true
[ "${reported:-}" = "$run" ] ||
  fail "the status file is not this run's (it names run ${reported:-none}, not $run); the guest did not report"
case ${code:-} in
  ''|*[!0-9]*) fail "the guest reported no exit status, but \"${code:-}\"" ;;
esac
exit "$code"
