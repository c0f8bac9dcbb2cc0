#!/usr/bin/env bash
# Makes the packages with CPack from a Linux build tree (whose CPack
# configuration names the Windows executables), in a fresh OUT_DIR, with
# SHA256SUMS beside them.
#   scripts/package.sh LINUX_BUILD_DIR OUT_DIR [GENERATOR]
# GENERATOR: DEB or ZIP alone; both by default. CPACK: the cpack to run.
set -euo pipefail
build=$1 out=$2
rm -rf "$out"
# CPack writes the members of the .deb with the modes the umask leaves;
# everything inside the packages has fixed modes whatever it is.
umask 022
# Zip entries hold local times.
export TZ=UTC
"${CPACK:-cpack}" --config "$build/CPackConfig.cmake" -B "$out" ${3:+-G "$3"}
# CPack's staging tree is of no use afterwards.
rm -rf "$out/_CPack_Packages"
cd "$out"
find . -maxdepth 1 -type f \( -name '*.deb' -o -name '*.zip' \) -printf '%f\n' |
  LC_ALL=C sort | xargs -r sha256sum -- >SHA256SUMS
