#!/usr/bin/env bash
# The sanitizer jobs of CI, run after the normal build and tests:
#  asan  AddressSanitizer + UndefinedBehaviorSanitizer over the whole test suite in build-asan,
#        plug-in bundles included: the hosted tests and brisca-validate load the instrumented
#        bundles into an instrumented host, so the format wrappers are checked as well.
#  tsan  ThreadSanitizer over the threaded tests in build-tsan: the processor's in-process
#        concurrency test (everything instrumented), the editor lifecycle and hostile-state
#        tests, and brisca-validate's concurrency check on bundles that are themselves built
#        instrumented, so the hosted plug-in's code is watched and not only the host's.
# Each step prints its wall time; every phase runs even when an earlier one fails, and the exit
# status is non-zero if any failed. JUCE's modules compile once per build folder; ccache keeps
# rebuilds cheap.   Usage: tools/ci-sanitizers.sh [asan] [tsan]   (default: both)
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=${BRISCA_JOBS:-$(nproc)}
export CCACHE_BASEDIR="$here"

phases=("$@")
[ ${#phases[@]} -eq 0 ] && phases=(asan tsan)
failed=()

timed() {
  local label=$1
  shift
  local start=$SECONDS
  "$@"
  local status=$?
  echo "ci-sanitizers: $label took $((SECONDS - start)) s (exit $status)"
  [ $status -eq 0 ] || failed+=("$label")
  return $status
}

configure() {
  local dir=$1 flags=$2
  # The undefined-behaviour checks stay on the code under test: ours, the plug-in wrappers and
  # every JUCE header inlined into them. JUCE's module library (UB inside JUCE is not ours to
  # fix) and the test programs' own code are compiled without them, which halves this build;
  # the address and thread checks cover everything.
  cat > "$dir/sanitizer-scope.cmake" <<'CMAKE'
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL _brisca_sanitizer_scope)
function(_brisca_targets_in dir out)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _brisca_targets_in("${sub}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()
function(_brisca_sanitizer_scope)
  set(targets juce_modules)
  if(IS_DIRECTORY "${CMAKE_SOURCE_DIR}/tests")
    _brisca_targets_in("${CMAKE_SOURCE_DIR}/tests" test_targets)
    list(APPEND targets ${test_targets})
  endif()
  foreach(target IN LISTS targets)
    if(TARGET ${target})
      get_target_property(type ${target} TYPE)
      if(type MATCHES "EXECUTABLE|LIBRARY" AND NOT type STREQUAL "INTERFACE_LIBRARY")
        target_compile_options(${target} PRIVATE -fno-sanitize=undefined)
      endif()
    endif()
  endforeach()
endfunction()
CMAKE
  cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PROJECT_INCLUDE="$dir/sanitizer-scope.cmake" \
    -DCMAKE_C_FLAGS_RELEASE="-O1 -g1" -DCMAKE_CXX_FLAGS_RELEASE="-O1 -g1" \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" -DCMAKE_MODULE_LINKER_FLAGS="$flags" \
    -DBRISCA_BUILD_BENCH=OFF
}

# Plug-in copies in ~/.lv2 must not shadow the bundles under test; editor tests need a display.
test_home=$(mktemp -d)
trap 'rm -rf "$test_home"' EXIT
run_ctest() {
  HOME="$test_home" xvfb-run -a -s "-screen 0 1280x800x24" ctest --output-on-failure -j"$jobs" "$@"
}

for phase in "${phases[@]}"; do
  case "$phase" in
    asan)
      dir="$here/build-asan"
      mkdir -p "$dir"
      # The LV2 build step loads the plug-in to write its manifest, and JUCE's hosting keeps a
      # few objects until exit: leaks are not what this job looks for.
      export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
      export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
      timed "asan configure" configure "$dir" "-fsanitize=address,undefined -fno-omit-frame-pointer" &&
        timed "asan build" cmake --build "$dir" -j"$jobs" &&
        timed "asan tests" run_ctest --test-dir "$dir"
      unset ASAN_OPTIONS UBSAN_OPTIONS
      ;;
    tsan)
      dir="$here/build-tsan"
      mkdir -p "$dir"
      cp "$here/tools/validate/tsan.supp" "$dir/tsan.supp"
      # The LV2 build step runs the instrumented plug-in (it opens the editor to write the
      # manifest); what it does there is not under test, so nothing is reported while building.
      export TSAN_OPTIONS="report_bugs=0"
      timed "tsan configure" configure "$dir" "-fsanitize=thread" &&
        timed "tsan build" cmake --build "$dir" -j"$jobs" \
          --target validate_tests editor_tests processor_tests brisca-validate Brisca_VST3 Brisca_LV2 &&
        TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$dir/tsan.supp" \
        timed "tsan tests" run_ctest --test-dir "$dir" \
          -R '^(Layouts/ProcessorConcurrency|EditorLifecycle|HostileState)|^validate_(vst3|lv2)_concurrency$'
      unset TSAN_OPTIONS
      ;;
    *)
      echo "ci-sanitizers: unknown phase '$phase' (asan or tsan)" >&2
      exit 2
      ;;
  esac
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "ci-sanitizers: failed: ${failed[*]}"
  exit 1
fi
echo "ci-sanitizers: all clean"
