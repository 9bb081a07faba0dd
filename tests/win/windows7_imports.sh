#!/usr/bin/env bash
# The programs must start on Windows 7, and Wine has every newer function, so nothing run here
# would show a static import that Windows 7 lacks. This reads each program's import table and
# fails on a library Windows 7 does not have, or on a function the Windows headers declare only
# for a later Windows (they are compiled here for Windows 7: _WIN32_WINNT=0x0601).
# Usage: windows7_imports.sh program.exe...
set -euo pipefail
export LC_ALL=C LANG=C  # the tools' own words, which this reads
objdump=x86_64-w64-mingw32-objdump
cxx=x86_64-w64-mingw32-g++-posix
command -v "$cxx" >/dev/null || cxx=x86_64-w64-mingw32-g++

# Libraries of every Windows 7 (the C runtime msvcrt.dll included).
windows7_dlls=" kernel32.dll user32.dll gdi32.dll shell32.dll comctl32.dll advapi32.dll msvcrt.dll iphlpapi.dll
 ole32.dll oleaut32.dll shlwapi.dll comdlg32.dll uxtheme.dll ws2_32.dll version.dll winmm.dll "

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for exe in "$@"; do
  "$objdump" -p "$exe" | awk '
    /DLL Name:/ { dll = tolower($3); next }
    /^\tvma:/ { next }
    dll != "" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ { print dll, $3 }
    /^$/ { dll = "" }' >"$scratch/imports"
  [ -s "$scratch/imports" ] || { echo "$exe: no import table read"; exit 1; }
  while read -r dll; do
    case "$windows7_dlls" in *" $dll "*) ;; *) echo "$exe imports $dll, which Windows 7 does not have"; status=1 ;; esac
  done < <(cut -d' ' -f1 "$scratch/imports" | sort -u)
  {
    echo '#include <windows.h>'
    echo '#include <commctrl.h>'
    echo '#include <shellapi.h>'
    echo '#include <iphlpapi.h>'
    echo '#include <uxtheme.h>'
    echo '#include <shlobj.h>'
    echo 'void probe() {'
    grep -v '^msvcrt.dll ' "$scratch/imports" | awk '{ print "(void)&" $2 ";" }'
    echo '}'
  } >"$scratch/probe.cpp"
  if ! "$cxx" -std=c++17 -fsyntax-only -DUNICODE -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DNTDDI_VERSION=0x06010000 \
      "$scratch/probe.cpp" 2>"$scratch/errors"; then
    echo "$exe imports functions newer than Windows 7 (to be looked up at run time instead):"
    grep -o "‘[A-Za-z0-9_]*’ was not declared\|'[A-Za-z0-9_]*' was not declared" "$scratch/errors" | sed 's/ was not declared//' || cat "$scratch/errors"
    status=1
  fi
  echo "$exe: $(wc -l <"$scratch/imports") imports from $(cut -d' ' -f1 "$scratch/imports" | sort -u | wc -l) libraries"
done
exit "$status"
