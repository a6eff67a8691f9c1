#!/bin/sh
# Takes the library as a user would, from the builds that tools/test.sh has made (each is built
# here first if it is not up to date, only as far as the libraries):
#   1. installs the native build, moves the installed tree elsewhere (it must still work), and
#      compiles every installed header on its own against it;
#   2. builds examples/consumer with find_package(KwMaskEdit) against the moved tree and runs it;
#   3. builds the same source with plain g++ and `pkg-config --cflags --libs kwmaskedit`;
#   4. builds examples/consumer with the library's sources added by add_subdirectory;
#   5. does 2 to 4 for examples/consumer_c, a program in C of the window classes in a C-only
#      project, and checks that nothing of C++ reaches it (no C++ flag when it compiles, no C++
#      runtime when it links);
#   6. does 1, 2 and 5's find_package for the Windows build and runs the programs under Wine.
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

# The C header of the window classes compiles as C on its own: C89 over the platform's headers,
# C11 over the simulation's (whose wide literals are u"...").
check_c_header() {
  cc=$1 std=$2 prefix=$3
  if ! (cd "$out" && echo "#include <controls/KwMaskEditControls.h>" |
          "$cc" -std="$std" -pedantic-errors -fsyntax-only -Wall -Wextra -Werror \
            -I "$prefix/include/KwMaskEdit" -x c -); then
    fail "controls/KwMaskEditControls.h does not compile as $std ($cc)"
  fi
}

# A C consumer's compile and link commands (from its Ninja build) hold nothing of C++.
check_c_only() {
  # The program's own compile and link (not the library's, which add_subdirectory builds along).
  obj=$(ninja -C "$1" -t targets all | grep -o '^[^:]*app\.c\.o[bj]*' | head -1)
  exe=$(ninja -C "$1" -t targets all | grep -o '^app\(\.exe\)*:' | tr -d : | head -1)
  commands="$(ninja -C "$1" -t commands -s "$obj") $(ninja -C "$1" -t commands -s "$exe")"
  if [ -z "$obj" ] || [ -z "$exe" ]; then fail "$2: no compile or link command found"; fi
  if echo "$commands" | grep -E -- '-std=(gnu|c)\+\+|stdc\+\+|[^a-z]c\+\+ |g\+\+|clang\+\+' >/dev/null; then
    fail "$2: something of C++ reaches the C program:
$(echo "$commands" | grep -E -- '-std=(gnu|c)\+\+|stdc\+\+|[^a-z]c\+\+ |g\+\+|clang\+\+')"
  fi
}

# Builds examples/consumer_c as $1 (a folder name) with the extra CMake arguments, checks it is C
# only, runs it (natively, or with $KW_RUN in front).
c_consumer() {
  name=$1
  shift
  rm -rf "$out/$name"
  if cmake -S examples/consumer_c -B "$out/$name" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" \
       >/dev/null && cmake --build "$out/$name" -j "$jobs" >/dev/null; then
    check_c_only "$out/$name" "$name"
    ${KW_RUN:-} "$out/$name/app${KW_EXE:-}" || fail "$name: the C program fails"
  else
    fail "$name: the C program does not build"
  fi
}

mkdir -p "$out"
for build in $builds; do
  case "$build" in
    native)
      step "install the native build, moved to $out/native"
      install_moved native
      check_headers g++ "$out/native"
      check_c_header gcc c11 "$out/native"

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

      step "C: find_package, pkg-config, add_subdirectory"
      KW_EXE="" KW_RUN=""
      c_consumer find-c-native -DCMAKE_PREFIX_PATH="$out/native"
      flags=$(PKG_CONFIG_PATH="$out/native/lib/pkgconfig" pkg-config --cflags --libs kwmaskedit)
      # shellcheck disable=SC2086 # the flags are words
      if gcc -std=c11 -Wall -Wextra -Werror examples/consumer_c/app.c $flags -o "$out/pkgconfig-app-c"; then
        LD_LIBRARY_PATH="$out/native/lib" "$out/pkgconfig-app-c" || fail "pkg-config (C): the program fails"
      else
        fail "pkg-config (C): does not build"
      fi
      c_consumer subdirectory-c -DKWMASKEDIT_SOURCE_DIR="$root"
      ;;
    windows)
      step "install the Windows build, moved to $out/windows"
      install_moved windows
      check_headers x86_64-w64-mingw32-g++-posix "$out/windows"
      check_c_header x86_64-w64-mingw32-gcc-posix c89 "$out/windows"

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

      step "C: find_package against the installed tree, run under Wine"
      export KW_WINEPREFIX="$root/build/windows/wineprefix"
      KW_EXE=.exe KW_RUN=tools/wine-run.sh
      c_consumer find-c-windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
        -DCMAKE_PREFIX_PATH="$out/windows"
      KW_EXE="" KW_RUN=""
      unset KW_WINEPREFIX
      ;;
    *) echo "test-consumers.sh: unknown build '$build' (native, windows)" >&2; exit 2 ;;
  esac
done

if [ -n "$failed" ]; then
  echo "FAILED consumer steps:$failed" >&2
  exit 1
fi
echo "All consumers built and ran: $builds"
