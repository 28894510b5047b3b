#!/usr/bin/env bash
# Builds the Debian package stavox-mixer_<version>_<arch>.deb with CPack and checks it with
# lintian, desktop-file-validate and appstreamcli.
#   ./scripts/package.sh                     installs what is missing, makes a release build in
#                                            build-package/, and leaves the package in
#                                            build-package/package/
#   ./scripts/package.sh --build-dir DIR     packages an existing build in DIR instead (it is
#                                            built first if out of date) and installs nothing;
#                                            exits 77 when a packaging tool is missing (ctest
#                                            counts that as skipped)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build_dir=
jobs=$(nproc)
case "${1:-}" in
  --build-dir)
    build_dir=$(cd "${2:?--build-dir needs a folder}" && pwd)
    jobs=2 # among the tests: the build is normally up to date, and the tests share the cores
    ;;
  "") ;;
  *) echo "usage: $0 [--build-dir DIR]" >&2; exit 2 ;;
esac

if [ -z "$build_dir" ]; then
  "$here/scripts/install-deps.sh" --package
  build_dir="$here/build-package"
  cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DSTAVOX_BUILD_TESTS=OFF -DSTAVOX_BUILD_BENCH=OFF >/dev/null
else
  missing=()
  for tool in cpack dpkg-shlibdeps lintian desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Skipped: the packaging tools are missing: ${missing[*]}" \
      "(scripts/install-deps.sh --package installs them)" >&2
    exit 77
  fi
fi
cmake --build "$build_dir" -j"$jobs" --target stavox-mixer stavox_package_files

out="$build_dir/package"
rm -rf "$out"
(cd "$build_dir" && cpack -G DEB -B "$out" >/dev/null)
shopt -s nullglob
debs=("$out"/stavox-mixer_*.deb)
if [ ${#debs[@]} -ne 1 ]; then
  echo "CPack made ${#debs[@]} packages in $out, not one" >&2
  exit 1
fi
deb=${debs[0]}

# The desktop entry and the AppStream file are checked as the package holds them.
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
appstreamcli validate --no-net --explain "$contents"/usr/share/metainfo/*.metainfo.xml >/dev/null
# Errors fail the package; warnings are shown for the packager to read.
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "$deb"
