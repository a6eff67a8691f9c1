#!/bin/sh
# Installs the Debian packages a task of this project needs, and only those that are missing.
#   tools/setup.sh demo      the native build and the terminal demo
#   tools/setup.sh test      everything tools/test.sh builds and runs (native, sanitizers,
#                            valgrind, format check, the Windows build under Wine, consumers)
#   tools/setup.sh windows   the Windows build and running it under Wine (demo.sh --windows)
#   tools/setup.sh shots     the screenshots in docs/ (Windows dialog and terminal)
#   tools/setup.sh fuzz      the fuzzers (clang, libFuzzer)
#   tools/setup.sh coverage  the coverage of the native suites (clang, llvm-profdata, llvm-cov)
#   tools/setup.sh bench     the benchmarks and the Qt peer benchmark (bench.sh --vs-qt)
#   tools/setup.sh unicode   regenerating the character table (tools/charkind-table.py) from
#                            the Unicode Character Database
#   tools/setup.sh --list T  prints the packages of task T and exits
# Several tasks may be named at once. Packages already installed are left as they are; apt-get
# runs (as root, or through sudo) only when something is missing. Without root or sudo it prints
# the command to run and exits 1.
set -eu

native="cmake ninja-build g++ make pkg-config"
demo="$native libncurses-dev tmux"
windows="$native g++-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xauth"
test_pkgs="$demo $windows libgtest-dev libgmock-dev googletest libbenchmark-dev clang-format \
valgrind locales python3 unicode-data clang libclang-rt-14-dev"
shots="$windows x11-apps imagemagick tmux"
fuzz="$native clang libclang-rt-14-dev"
bench="$native libbenchmark-dev qtbase5-dev"
coverage="$native clang-14 llvm-14 libgtest-dev libgmock-dev locales libclang-rt-14-dev"
unicode="python3 unicode-data"

packages_of() {
  case "$1" in
    demo) echo "$demo" ;;
    test) echo "$test_pkgs" ;;
    windows) echo "$windows" ;;
    shots) echo "$shots" ;;
    fuzz) echo "$fuzz" ;;
    bench) echo "$bench" ;;
    coverage) echo "$coverage" ;;
    unicode) echo "$unicode" ;;
    *) echo "setup.sh: unknown task '$1' (demo, test, windows, shots, fuzz, bench, coverage," \
         "unicode)" >&2
       exit 2 ;;
  esac
}

list=0
if [ "${1:-}" = "--list" ]; then list=1; shift; fi
[ $# -gt 0 ] || set -- test

wanted=""
for task in "$@"; do wanted="$wanted $(packages_of "$task")"; done
wanted=$(echo $wanted | tr ' ' '\n' | sort -u | tr '\n' ' ')
if [ "$list" -eq 1 ]; then echo $wanted; exit 0; fi

missing=""
for p in $wanted; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

# The locales the locale suites run in: German (',' decimal, '.' thousands), French (U+202F
# thousands) and Swiss German (U+2019 thousands).
test_locales="de_DE fr_FR de_CH"
missing_locales=""
case " $* " in
  *" test "* | *" coverage "*)
    for l in $test_locales; do
      if ! locale -a 2>/dev/null | grep -qi "^$l\.utf-\?8\$"; then
        missing_locales="$missing_locales $l"
      fi
    done ;;
esac
need_locale=0
[ -z "$missing_locales" ] || need_locale=1

[ -n "$missing" ] || [ "$need_locale" -eq 1 ] || exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  as_root="sudo"
elif command -v sudo >/dev/null 2>&1 && [ -t 0 ]; then
  as_root="sudo"  # asks for the password on the terminal
else
  echo "setup.sh: these packages are missing:$missing" >&2
  echo "setup.sh: install them as root with:" >&2
  echo "  apt-get update && apt-get install -y$missing" >&2
  for l in $missing_locales; do echo "  localedef -i $l -f UTF-8 $l.UTF-8" >&2; done
  exit 1
fi

if [ -n "$missing" ]; then
  echo "setup.sh: installing$missing"
  export DEBIAN_FRONTEND=noninteractive
  $as_root apt-get update
  # shellcheck disable=SC2086
  $as_root apt-get install -y $missing
fi

for l in $missing_locales; do
  $as_root localedef -i "$l" -f UTF-8 "$l.UTF-8"
done
