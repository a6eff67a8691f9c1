#!/bin/sh
# Checks the export table of the controls' shared library: it exports the five public classes
# whole (members, virtual tables, type information, run-time class records, message maps) and
# the C functions of the window classes (KwMaskEditControls.h), and nothing else of the
# library's own. Instantiations of the standard library's templates that the
# toolchain emits are not the library's own and pass.
#   tools/check-exports.sh build/native/bin/libkwmaskedit.so
#   tools/check-exports.sh build/windows/bin/KwMaskEdit.dll
# Exits 1 and lists the offending symbols (demangled) when anything else is exported, or when
# one of the five classes is missing from the table.
set -eu

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 libkwmaskedit.so|KwMaskEdit.dll" >&2
  exit 2
fi
lib=$1

case "$lib" in
  *.dll | *.DLL)
    objdump=${OBJDUMP:-}
    if [ -z "$objdump" ]; then
      if command -v x86_64-w64-mingw32-objdump >/dev/null 2>&1; then
        objdump=x86_64-w64-mingw32-objdump
      else
        objdump=objdump
      fi
    fi
    # The name pointer table lists one exported name a line: "	[ 12] _ZN12KwMaskedEdit...".
    mangled=$("$objdump" -p "$lib" | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\] \([^[:space:]]*\)$/\1/p')
    ;;
  *)
    # Defined dynamic symbols: "address type name", or "type name" for absolute ones.
    mangled=$(nm -D --defined-only "$lib" | awk '{ print $NF }')
    ;;
esac

if [ -z "$mangled" ]; then
  echo "check-exports: $lib exports nothing" >&2
  exit 1
fi

demangled=$(printf '%s\n' "$mangled" | c++filt)

classes='KwMaskedEdit|KwCharacterMaskedEdit|KwFieldMaskedEdit|KwNumberMaskedEdit|KwValidator'
cfunctions='KwRegisterControls|KwMatchTemplateA|KwMatchTemplateW'
own="^($cfunctions)$|^(($classes)::|(vtable|typeinfo|typeinfo name|VTT|construction vtable) for ($classes)$|(non-virtual |virtual |covariant return )?thunk to ($classes)::)"
# Standard-library templates instantiated in the library (possibly after a return type), and
# what the linker, the runtime or AddressSanitizer (its ODR indicators of exported globals) adds
# to every shared object.
foreign='^([^ (]+ )?(std|__gnu_cxx)::|^(vtable|typeinfo|typeinfo name|guard variable) for (std|__gnu_cxx)::|^(_init|_fini|_edata|_end|__bss_start)$|^__odr_asan[._]'
# A standard template instantiated over one of the library's internal types is the library's own.
internal='KwMaskSymbol|KwSymbolKind|GetLocaleSeparator|g_ch[A-Z]|g_extensionModule|KwModule'

bad=$(printf '%s\n' "$demangled" | grep -Ev "$own" | { grep -Ev "$foreign" || true; })
leaked=$(printf '%s\n' "$demangled" | grep -Ev "$own" | { grep -E "$internal" || true; })
status=0
if [ -n "$bad$leaked" ]; then
  echo "check-exports: $lib exports symbols of its own beyond the five public classes:" >&2
  printf '%s\n%s\n' "$bad" "$leaked" | sed '/^$/d' | sort -u | sed 's/^/  /' >&2
  status=1
fi
for class in KwMaskedEdit KwCharacterMaskedEdit KwFieldMaskedEdit KwNumberMaskedEdit KwValidator; do
  if ! printf '%s\n' "$demangled" | grep -q "^vtable for $class\$\|^$class::~$class()"; then
    echo "check-exports: $lib does not export the class $class" >&2
    status=1
  fi
done
for function in KwRegisterControls KwMatchTemplateA KwMatchTemplateW; do
  if ! printf '%s\n' "$mangled" | grep -qx "$function"; then
    echo "check-exports: $lib does not export the C function $function" >&2
    status=1
  fi
done
count=$(printf '%s\n' "$demangled" | wc -l)
[ "$status" -eq 0 ] && echo "check-exports: $lib: $count exported symbols, all of the five public classes, the C functions or the toolchain's"
exit "$status"
