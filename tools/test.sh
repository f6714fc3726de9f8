#!/usr/bin/env bash
# Installs what is missing, builds, checks the formatting and runs every test, then the headless
# ones again under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
bash tools/build.sh

bash tools/check-format.sh

buildDir="${LARKSPIRE_BUILD_DIR:-build}"
bash tools/with-xvfb.sh ctest --test-dir "$buildDir" --output-on-failure --timeout 300 \
    --parallel "$(nproc)"

# The headless tests once more, with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer, in a build folder of their own (see LARKSPIRE_SANITIZE). The font
# data check's table is among them (tests/look.cmake).
sanitizerDir="$buildDir-asan"
cmake -S . -B "$sanitizerDir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLARKSPIRE_WERROR=ON \
    -DLARKSPIRE_SANITIZE=ON >/dev/null
cmake --build "$sanitizerDir" --parallel "$(nproc)" --target core_tests
ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
    UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$sanitizerDir" --label-regex '^core$' --no-tests=error --output-on-failure \
    --timeout 300 --parallel "$(nproc)"
