#!/usr/bin/env bash
# Each FILE is an ELF program for PROCESSOR (as CMake names it: x86_64,
# aarch64, ...), by its ELF header's class and machine fields, read here
# from the bytes rather than asked of the toolchain that made the file.
#   tests/elf_machine_test.sh PROCESSOR FILE...
set -euo pipefail
processor=$1
shift

# e_machine and the class (1: 32-bit, 2: 64-bit), as <elf.h> numbers them.
case $processor in
x86_64 | amd64 | AMD64) machine=62 class=2 name=x86-64 ;;
aarch64 | arm64) machine=183 class=2 name=AArch64 ;;
i?86) machine=3 class=1 name="Intel 80386" ;;
*) echo "skipped: no ELF machine number known here for $processor"; exit 77 ;;
esac

status=0
for file; do
  # shellcheck disable=SC2207  # the bytes, one word each
  b=($(od -An -v -tu1 -N20 -- "$file"))
  if [ "${#b[@]}" -lt 20 ] || [ "${b[*]:0:4}" != "127 69 76 70" ]; then
    echo "$file: not an ELF file" >&2; status=1; continue
  fi
  # Byte 5: 1 little-endian, 2 big-endian; e_machine is bytes 18 and 19.
  if [ "${b[5]}" = 1 ]; then got=$((b[18] + 256 * b[19]))
  else got=$((256 * b[18] + b[19])); fi
  if [ "$got" != "$machine" ] || [ "${b[4]}" != "$class" ]; then
    echo "$file: ELF machine $got, class ${b[4]}; want $machine ($name), class $class" >&2
    status=1
  else
    echo "$file: $name"
  fi
done
exit $status
