# Installs the Debian packages that building and testing need, when missing.
# Sourced by the two entry scripts.

VORLANE_PACKAGES=(
  cmake make g++ googletest
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64
  xvfb xdotool x11-utils
  cups cups-client cups-bsd printer-driver-cups-pdf
  poppler-utils fonts-liberation fonts-dejavu-core
  python3 python3-pytest python3-pytest-xdist python3-pil
  fp-utils-3.2.2 libchm-bin
  clang clang-tidy zip
  wixl msitools osslsigncode openssl python3-yaml
)

vorlane_install_dependencies() {
  local missing=()
  local package
  for package in "${VORLANE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  # The package index may be empty or stale on a fresh machine.
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
