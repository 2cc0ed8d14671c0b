#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need,
# only when one of them is missing (a warm machine does nothing). With the
# argument "fuzz", also clang's libFuzzer runtime for `make fuzz`. clang itself
# checks for dropped results in `make test`.
set -euo pipefail
packages=(cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libeigen3-dev libpugixml-dev nlohmann-json3-dev libcli11-dev uuid-dev
  libxml2-utils valgrind clang-14 libcpp-httplib-dev chromium)
[ "${1:-}" = fuzz ] && packages+=(libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# The glTF validator the tests run on every written scene, puppeteer-core,
# which drives the browser test in Debian's Chromium, and three.js, which
# korvrc serve gives the page for its 3D view (tools/package.json).
here="$(cd "$(dirname "$0")/.." && pwd)"
if command -v npm >/dev/null && { [ ! -d "$here/tools/node_modules/gltf-validator" ] ||
  [ ! -d "$here/tools/node_modules/puppeteer-core" ] ||
  [ ! -d "$here/tools/node_modules/three" ]; }; then
  (cd "$here/tools" && npm ci --no-audit --no-fund --silent) ||
    echo "warning: the Node test tools could not be installed; their tests will fail" >&2
fi
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
