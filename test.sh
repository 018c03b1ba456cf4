#!/usr/bin/env bash
# Builds and runs every test: unit and GUI tests, the Debian packages, the same tests under ASan and UBSan,
# and a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

echo "== unit and GUI tests"
cmake --preset dev >/dev/null
cmake --build --preset dev
QT_QPA_PLATFORM=offscreen ctest --test-dir build/dev --output-on-failure -j2

echo "== Debian packages: build and validate every tool's, install, run and remove ABCD2's"
scripts/check-deb-packages.sh build/dev

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure -j2

echo "== fuzzing"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --test-dir build/fuzz --output-on-failure -L fuzz

echo "== Windows program: cross-built with mingw-w64, tested under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
# One private prefix, wineserver and X display for the whole section.
. tests/win32/wine_prefix.sh build/windows
trap WineSessionEnd EXIT
ctest --test-dir build/windows --output-on-failure -j2 --timeout 600
cmake --build --preset windows --target package-windows
scripts/check-windows-zip.sh build/windows
cmake --build --preset windows --target package-msi
scripts/check-windows-msi.sh build/windows
# Signed with a throwaway certificate in a tree of its own (ABCD2 only).
scripts/check-signing.sh build/windows build/windows-signed

echo "== Reproducible: ABCD2's .deb and Windows program built again in another folder"
scripts/check-reproducible.sh
