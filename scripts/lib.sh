# Shared by the scripts: project root, set-up check and build steps.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=${JOBS:-$(nproc)}

ensure_setup() {
  "$ROOT/scripts/setup"
}

# build DIR [extra cmake args...]
build() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
  cmake --build "$ROOT/$dir" -j "$JOBS"
}
