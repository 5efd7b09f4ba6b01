#!/usr/bin/env bash
# Builds everything and runs the whole test suite twice: a normal build in build/, then one with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/. Fails when anything fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

bash "$root/scripts/install-deps.sh"

failed=()
summaries=()
run_suite() {
    local name="$1" dir="$2"
    shift 2
    echo "=== $name: configure and build in $dir"
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" -j2
    echo "=== $name: tests"
    local log
    log="$(mktemp)"
    if (cd "$dir" && ctest --output-on-failure -j2) 2>&1 | tee "$log"; then
        :
    else
        failed+=("$name")
    fi
    summaries+=("$name: $(grep -E 'tests passed|tests failed' "$log" | tail -1)")
    rm -f "$log"
}

run_suite "normal build" "$root/build" -DJXC_SANITIZE=OFF
run_suite "sanitizer build" "$root/build-asan" -DJXC_SANITIZE=ON -DJXC_BUILD_BENCH=OFF

echo
echo "=== Summary"
printf '%s\n' "${summaries[@]}"
if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]}" >&2
    exit 1
fi
echo "All tests passed."
