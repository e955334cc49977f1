#!/usr/bin/env bash
# Exits 0 when this machine's kernel executes 32-bit x86 programs: a static
# 32-bit program that only exits is assembled, linked and run. On machines
# with IA-32 emulation switched off it fails with "Exec format error".
# NIREVO_NO_32BIT=1 answers no, to try the scripts as such a machine runs them.
set -uo pipefail
[ "${NIREVO_NO_32BIT:-0}" = 1 ] && exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '.globl _start\n_start:\n  movl $1, %%eax\n  xorl %%ebx, %%ebx\n  int $0x80\n' >"$work/exit.s"
as --32 "$work/exit.s" -o "$work/exit.o" 2>/dev/null &&
  ld -m elf_i386 "$work/exit.o" -o "$work/exit" 2>/dev/null &&
  "$work/exit" 2>/dev/null
