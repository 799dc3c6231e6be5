#!/usr/bin/env bash
# Installs what is missing, builds, and starts kestrova_en in the directory
# this script was called from (the program keeps its settings there).
set -euo pipefail
here="$(pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
cd "$here"
exec "$root/build/kestrova_en"
