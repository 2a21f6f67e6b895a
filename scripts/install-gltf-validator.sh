#!/usr/bin/env bash
# Installs the Khronos glTF validator from npm into .cache/ for the glb export's test.
# Quiet when present; without npm, or when the install fails, that test skips the validator.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=.cache/gltf-validator
[ -f "$dir/node_modules/gltf-validator/package.json" ] && exit 0
if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
  echo "No node or npm: the glb test will skip the glTF validator"
  exit 0
fi
echo "Installing gltf-validator from npm"
mkdir -p "$dir"
npm install --prefix "$dir" --no-audit --no-fund --silent gltf-validator@2.0.0-dev.3.10 \
  || echo "gltf-validator could not be installed: the glb test will skip it"
