#!/usr/bin/env bash
# Installs what is missing, builds the two programs in build/ and makes the
# Debian package build/kestrova_<version>_<arch>.deb with CPack. Install it
# with `sudo apt install ./build/kestrova_<version>_<arch>.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build -j"$(nproc)" --target kestrova_en kestrova_pt
cd build
rm -f kestrova_*.deb
cpack -G DEB > /dev/null
ls "$PWD"/kestrova_*.deb
