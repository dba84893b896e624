#!/usr/bin/env bash
# Installs, with apt, the Debian packages HzDot needs to build, test and run.
# Only packages that are missing are installed, so running it again is cheap.
set -euo pipefail

packages=(
  # compiler tools
  build-essential cmake pkg-config ccache
  # sanitizer builds and fuzz targets
  clang libclang-rt-14-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # windows; Qt's own dialogs and buttons in Chinese
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  # font builder: outline and bitmap fonts, simplified-to-traditional table
  libfreetype-dev libopencc-dev opencc
  # PNG pictures of the display preview (zlib), read back in the tests (libpng)
  zlib1g-dev libpng-dev
  # the installed-font list of the font chooser
  libfontconfig-dev
  # pictures (--image, the picture window): gdk-pixbuf decodes PNG, JPEG, GIF and BMP, and
  # librsvg's loader draws SVG
  libgdk-pixbuf-2.0-dev librsvg2-common
  # packaging checks: desktop entry, metainfo, manual pages, the Debian package
  desktop-file-utils appstream man-db dpkg-dev lintian
  # renders the application icon's PNG sizes (packaging/icons/make_icon.py)
  librsvg2-bin
  # source fonts of the six libraries
  xfonts-wqy xfonts-intl-chinese xfonts-intl-chinese-big
  fonts-arphic-gbsn00lp fonts-arphic-gkai00mp fonts-wqy-zenhei
  # a CJK font for the windows' text, marks and symbol keys
  fonts-wqy-microhei fonts-arphic-uming
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

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "error: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
