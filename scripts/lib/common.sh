# Shared by the scripts: the project's root and the Debian packages it needs.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$ROOT"

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  xvfb xauth fonts-dejavu-core
)

# The test run prints to a real printer: CUPS with its PDF printer, and the PDF tools that read
# what it wrote.
TEST_PACKAGES=(cups cups-bsd printer-driver-cups-pdf poppler-utils)

# Building the Debian package (its dependencies are read off the binaries); checking the installed
# menu entry, metainfo and file type, and a screenshot of the installed program.
PACKAGE_TOOLS=(dpkg-dev file)
PACKAGE_CHECK_TOOLS=(desktop-file-utils appstream libglib2.0-bin imagemagick)

# install_missing_packages [PACKAGE...]: installs those of the packages (PACKAGES when none are
# named) that are missing, as root or through sudo.
install_missing_packages() {
  local wanted=("$@")
  [ ${#wanted[@]} -eq 0 ] && wanted=("${PACKAGES[@]}")
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_preset PRESET [-DVAR=VALUE...]: configures quietly; the options the scripts rely on
# are always given, so a build folder configured otherwise by hand is set right again.
configure_preset() {
  local preset=$1
  shift
  cmake --preset "$preset" "$@" >/dev/null
}

# build_preset PRESET [TARGET...]: builds the targets, or everything.
build_preset() {
  local preset=$1
  shift
  local targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build --preset "$preset" "${targets[@]}"
}

# start_pdf_printer: makes sure the CUPS daemon runs and has the PDF printer "PDF". Without
# root (or sudo without a password) it says why the print tests will be skipped, and goes on.
start_pdf_printer() {
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! sudo -n true 2>/dev/null; then
      echo "== print tests: no root to start CUPS; the tests that print to a real printer are skipped"
      return 0
    fi
    sudo=(sudo -n)
  fi
  if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    # No service manager runs here: the daemon is started directly.
    "${sudo[@]}" /usr/sbin/cupsd || true
    for _ in $(seq 50); do
      lpstat -r 2>/dev/null | grep -q "is running" && break
      sleep 0.2
    done
  fi
  if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    echo "== print tests: the CUPS daemon did not start; the tests that print to a real printer are skipped"
    return 0
  fi
  if ! lpstat -p PDF >/dev/null 2>&1; then
    "${sudo[@]}" lpadmin -p PDF -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null ||
      echo "== print tests: the PDF printer could not be added; the tests that print to it are skipped"
  fi
  # The default PostScript step turns the jobs' fonts into glyphs without text; through cairo
  # the letters stay readable in the PDF the printer writes.
  "${sudo[@]}" lpadmin -p PDF -o pdftops-renderer-default=pdftocairo 2>/dev/null || true
}
