#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need when they are
# missing (as root only; otherwise it just says what is missing).
# Usage: scripts/install_deps.sh [build|test]
set -euo pipefail
what=${1:-build}
packages=(g++ cmake make pkg-config libsqlite3-dev)
if [ "$what" = test ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev chromium clang libclang-rt-dev)
  # The order book is opened in a real word processor and read back from
  # its PDF; a CJK font carries the Chinese texts; xmllint checks the XML.
  packages+=(libreoffice-writer-nogui poppler-utils fonts-wqy-microhei libxml2-utils)
  # A crash test traces the server's syncs.
  packages+=(strace)
  # Node.js may come from another source than Debian's packages; only its
  # commands matter.
  command -v node >/dev/null 2>&1 || packages+=(nodejs)
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}" >/dev/null
  else
    echo "Missing packages (run as root to install them): ${missing[*]}" >&2
    exit 1
  fi
fi
if [ "$what" = test ] && [ ! -d tests/browser/node_modules/playwright-core ]; then
  (cd tests/browser && npm install --no-audit --no-fund --silent)
fi
