#!/usr/bin/env bash
# Builds and runs the tests under sanitizers, each in its own build directory:
#   scripts/sanitize.sh address   the whole suite with AddressSanitizer and
#                                 UndefinedBehaviorSanitizer (build-asan/)
#   scripts/sanitize.sh thread    the serial and link tests (label serial) with
#                                 ThreadSanitizer (build-tsan/)
# Any finding fails its test; the suppression files in tests/ name the only
# reports let through, all from Debian's libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
address) build=build-asan sanitizers=address,undefined target=all labels=() ;;
thread) build=build-tsan sanitizers=thread target=velmora_serial_tests labels=(-L serial) ;;
*) echo "usage: $0 address|thread" >&2; exit 2 ;;
esac

scripts/install-deps.sh $(cat scripts/build-deps.txt) socat desktop-file-utils appstream
# -O1 keeps the sanitized tests quick without hiding what the sanitizers see.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
      -DVELMORA_SANITIZE="$sanitizers" -DVELMORA_BENCHMARKS=OFF
cmake --build "$build" -j"$(nproc)" --target "$target"
export QTWEBENGINE_DISABLE_SANDBOX=1
ctest --test-dir "$build" --output-on-failure "${labels[@]}"
