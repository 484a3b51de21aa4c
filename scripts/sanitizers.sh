# Sourced by scripts/test.sh --sanitize and scripts/fuzz.sh: the one set of sanitizer flags both
# builds use, and the run-time options that make every report fatal and readable.

sanitize_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
sanitize_flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# CMake hands the compile flags to the link step as well, which pulls in the run-times.
sanitizer_cmake_args=(
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
  "-DCMAKE_C_FLAGS=$sanitize_flags" "-DCMAKE_CXX_FLAGS=$sanitize_flags"
  -DQUARX_BUILD_BENCHMARKS=OFF
)

# LeakSanitizer runs inside AddressSanitizer; the suppressions cover third-party libraries only.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$sanitize_root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ASAN_SYMBOLIZER_PATH="$(command -v llvm-symbolizer-14 || true)"
export ASAN_SYMBOLIZER_PATH
