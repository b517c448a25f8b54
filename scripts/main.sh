#!/usr/bin/env bash
# Installs what is needed, builds the native and both Windows builds, and runs
# the status service under Wine's service control manager.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

echo "main: installing dependencies"
bash scripts/install-deps.sh
for preset in native win32 win64; do
    echo "main: building $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j2
done
statuskeeper=build/win64/statusservice/Statuskeeper.exe
if [ -f "$statuskeeper" ]; then
    echo "main: Wine service smoke of $statuskeeper"
    bash tests/wine/service_smoke.sh "$statuskeeper"
else
    echo "main: no $statuskeeper built yet, so no service smoke"
fi
echo "main: done"
