# Shared by the scripts: the project's root and the Debian packages it needs.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$ROOT"

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  xvfb xauth fonts-dejavu-core
)

# Installs the packages that are missing (as root, or through sudo).
install_missing_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
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
