#!/bin/sh
# Takes the library as a user would, from the builds that tools/test.sh has made (each is built
# here first if it is not up to date, only as far as the libraries):
#   1. installs the native build, moves the installed tree elsewhere (it must still work), and
#      compiles every installed header on its own against it;
#   2. builds examples/consumer with find_package(KwMaskEdit) against the moved tree and runs it;
#   3. builds the same source with plain g++ and `pkg-config --cflags --libs kwmaskedit`;
#   4. builds examples/consumer with the library's sources added by add_subdirectory;
#   5. does 1 and 2 for the Windows build and runs the program under Wine.
#   tools/test-consumers.sh [native] [windows]   (default: both)
# Everything lands in build/consumers. Exits 1 when a step fails.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build/consumers
jobs="${KW_JOBS:-$(nproc 2>/dev/null || echo 2)}"
builds="${*:-native windows}"
failed=""

step() { echo "---- consumers: $*"; }
fail() { echo "FAILED: consumers: $*" >&2; failed="$failed
  $*"; }

# Installs a build's libraries into a staging prefix, then moves the tree to $out/<build>.
install_moved() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs" --target kwmaskedit_shared >/dev/null
  rm -rf "$out/$1" "$out/$1-staged"
  cmake --install "build/$1" --prefix "$out/$1-staged" >/dev/null
  mv "$out/$1-staged" "$out/$1"
}

# Every installed header compiles alone against the installed tree only (run from $out, so no
# source folder is on the way): none includes a file that is not installed.
check_headers() {
  cxx=$1 prefix=$2 n=0
  for h in $(cd "$prefix/include/KwMaskEdit" && find . -name '*.h' | sed 's|^\./||' | sort); do
    n=$((n + 1))
    if ! (cd "$out" && echo "#include <$h>" | "$cxx" -std=c++17 -fsyntax-only -Wall -Wextra -Werror \
            -DKW_SHARED -DKWFW_SHARED -I "$prefix/include/KwMaskEdit" -x c++ -); then
      fail "$h does not compile on its own ($cxx)"
    fi
  done
  echo "$n installed headers compile on their own"
}

mkdir -p "$out"
for build in $builds; do
  case "$build" in
    native)
      step "install the native build, moved to $out/native"
      install_moved native
      check_headers g++ "$out/native"

      step "find_package against the installed tree"
      rm -rf "$out/find-native"
      if cmake -S examples/consumer -B "$out/find-native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
           -DCMAKE_PREFIX_PATH="$out/native" >/dev/null &&
         cmake --build "$out/find-native" >/dev/null; then
        "$out/find-native/app" || fail "find_package: the program fails"
      else
        fail "find_package: does not build"
      fi

      step "g++ with pkg-config"
      flags=$(PKG_CONFIG_PATH="$out/native/lib/pkgconfig" pkg-config --cflags --libs kwmaskedit)
      # shellcheck disable=SC2086 # the flags are words
      if g++ -std=c++17 -Wall -Wextra examples/consumer/app.cpp $flags -o "$out/pkgconfig-app"; then
        LD_LIBRARY_PATH="$out/native/lib" "$out/pkgconfig-app" || fail "pkg-config: the program fails"
      else
        fail "pkg-config: does not build"
      fi

      step "add_subdirectory of the sources"
      # The same build type as build/native, so that the compiler cache serves the libraries.
      if cmake -S examples/consumer -B "$out/subdirectory" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
           -DKWMASKEDIT_SOURCE_DIR="$root" >/dev/null &&
         cmake --build "$out/subdirectory" -j "$jobs" >/dev/null; then
        "$out/subdirectory/app" || fail "add_subdirectory: the program fails"
      else
        fail "add_subdirectory: does not build"
      fi
      ;;
    windows)
      step "install the Windows build, moved to $out/windows"
      install_moved windows
      check_headers x86_64-w64-mingw32-g++-posix "$out/windows"

      step "find_package against the installed tree, run under Wine"
      rm -rf "$out/find-windows"
      # The program links its own runtime statically, as the library's DLLs do: nothing of
      # MinGW's to ship beside it.
      if cmake -S examples/consumer -B "$out/find-windows" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
           -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$out/windows" \
           -DCMAKE_EXE_LINKER_FLAGS="-static -static-libgcc -static-libstdc++" >/dev/null &&
         cmake --build "$out/find-windows" >/dev/null; then
        # The Wine prefix of the Windows build, which its suites have initialised already.
        KW_WINEPREFIX="$root/build/windows/wineprefix" tools/wine-run.sh "$out/find-windows/app.exe" ||
          fail "find_package (Windows): the program fails under Wine"
      else
        fail "find_package (Windows): does not build"
      fi
      ;;
    *) echo "test-consumers.sh: unknown build '$build' (native, windows)" >&2; exit 2 ;;
  esac
done

if [ -n "$failed" ]; then
  echo "FAILED consumer steps:$failed" >&2
  exit 1
fi
echo "All consumers built and ran: $builds"
