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
# The medium, once Setup and the sample medium are in the tree.
setup32=build/win32/wizard/Setup.exe
if [ -f "$setup32" ] && [ -f tests/medium/config.xml ]; then
    echo "main: assembling the medium"
    bash scripts/build-medium.sh --setup32 "$setup32" --setup64 build/win64/wizard/Setup.exe \
        --statuskeeper32 build/win32/statusservice/Statuskeeper.exe \
        --statuskeeper64 build/win64/statusservice/Statuskeeper.exe --sample tests/medium
else
    echo "main: no $setup32 or tests/medium/config.xml yet, so no medium"
fi
echo "main: done"
