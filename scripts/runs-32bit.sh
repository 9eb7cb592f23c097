#!/usr/bin/env bash
# Exits 0 when this machine's kernel runs 32-bit x86 programs (the i686 build runs under Wine only
# then), 1 when it refuses them. The probe is the smallest such program: an ELF header, one
# program header and the code "mov eax, 1; xor ebx, ebx; int 0x80" (exit(0)), written out here so
# no toolchain is needed to make it.
set -euo pipefail
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
{
  # ELF identification: 32-bit, little-endian, version 1.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  # An executable for the 386, version 1, entry 0x08048054, program headers at 52, no sections.
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00'
  printf '\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  # One loaded segment: the whole 93-byte file at 0x08048000, readable and executable.
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'
} >"$folder/probe"
chmod +x "$folder/probe"
"$folder/probe" >/dev/null 2>&1
