#!/usr/bin/env bash
# Installs every Debian package that building, testing and running ZRV need.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang libclang-rt-14-dev
  qtbase5-dev qttools5-dev qttools5-dev-tools libqt5serialport5-dev
  libqt5svg5 libqt5svg5-dev qt5-image-formats-plugins qttranslations5-l10n
  libqcustomplot-dev
  libxlsxwriter-dev zlib1g-dev
  libpodofo-dev libssl-dev openssl
  libqt5sql5-sqlite libqt5sql5-psql postgresql libpq-dev
  python3 python3-openpyxl python3-pypdf
  poppler-utils
  # A test makes a Russian locale (decimal comma) from these sources.
  locales
  # The tests print the workbook with LibreOffice; Carlito has the metrics of
  # Calibri, the workbook's default font, so its rows print at their height.
  libreoffice-calc-nogui fonts-crosextra-carlito
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth
  desktop-file-utils dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
