#!/usr/bin/env bash
# Installs what building and testing Kestrova needs on a Debian machine.
# Runs apt-get only when a package is missing. With the argument "fuzz" it
# also installs clang and its libFuzzer runtime, which only scripts/fuzz.sh
# needs.
set -euo pipefail
# fonts-liberation2 stands in for Arial; fonts-symbola draws the watch of the
# progress window and the squares of the preview's legend, which no other
# font of a bare Debian has. qt6-translations-l10n holds the toolkit's own
# Portuguese texts (message box buttons, file dialogs, text field menus), and
# shared-mime-info the names of file types in Portuguese that the file
# dialogs show. dpkg-dev and file let CPack find the package's dependencies;
# the tests of the installation check the menu entries with
# desktop-file-validate (desktop-file-utils) and the AppStream file with
# appstreamcli (appstream).
packages=(g++ cmake make pkg-config qt6-base-dev libgl-dev libpng-dev zlib1g-dev
          libgtest-dev libbenchmark-dev fonts-liberation2 fonts-symbola xvfb xauth
          qt6-translations-l10n shared-mime-info dpkg-dev file desktop-file-utils appstream)
if [ "${1:-}" = "fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
fi
