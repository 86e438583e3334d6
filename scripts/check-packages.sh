#!/usr/bin/env bash
# Builds the .deb packages, installs them with dpkg -i, and publishes the bundled example with the
# installed publisher from a folder outside the source tree; then asks the installed programs for
# their versions. For CI on a fresh machine (it installs into the system).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/package.sh
export DEBIAN_FRONTEND=noninteractive
# The publisher needs nothing beyond the C++ runtime; the desktop package's Depends are the
# packages deps.sh installed, plus what apt adds when dpkg -i leaves one unmet.
dpkg -i build-pkg/qx-flash-hs-cli_*.deb
dpkg -i build-pkg/qx-flash-hs_*.deb || apt-get install -y -qq --no-install-recommends -f >/dev/null
dpkg -s qx-flash-hs | grep -q '^Status: install ok installed'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/demo/demo.pp examples/demo/demo.flv "$work"/
(
  cd "$work"
  /usr/bin/qx_flash_hs-cli publish demo.pp site/index.html
  test -s site/index.html && test -s site/config.xml && test -s site/demo.flv
  cmp site/demo.flv demo.flv
  /usr/bin/qx_flash_hs-cli webgl site/index.html >/dev/null
  test -s site/index.webgl.html
  /usr/bin/qx_flash_hs --version
  # The window loads Qt Multimedia and Qt Network from its module, found from its own folder.
  test -s /usr/libexec/qx_flash_hs/qx_flash_hs-media.so
  if readelf -d /usr/bin/qx_flash_hs | grep -E 'libQt6(Multimedia|Network)'; then exit 1; fi
  test -x /usr/libexec/qx_flash_hs/velmora_redirect
  /usr/libexec/qx_flash_hs/velmora_redirect --version
  test -s /usr/share/man/man1/velmora_redirect.1.gz
  test -s /usr/share/doc/qx_flash_hs/qx_flash_hs.pdf
)
echo "packages install and publish from $work: ok"
