#!/usr/bin/env bash
# Installs the Debian packages Ostrel needs to build, run and test.
# Does nothing when they are all present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libutf8proc-dev
  fonts-liberation fonts-wqy-microhei
  perl
  unrtf
  poppler-utils enscript ghostscript
  ftp python3-pyftpdlib
  libcurl4-openssl-dev libssl-dev libsecret-1-dev
  python3-asyncssh python3-openssl openssh-client curl bc
  acl
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
