#!/usr/bin/env bash
# Fails when a Windows executable in the given build folders imports a DLL that is not part of
# Windows itself (the program must run from the installation disk with nothing installed).
set -euo pipefail

allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|SHLWAPI|OLE32|OLEAUT32|COMCTL32|COMDLG32|LZ32|VERSION|msvcrt)\.dll$'
shopt -s nocasematch
status=0
count=0
for folder in "$@"; do
  while IFS= read -r -d '' exe; do
    count=$((count + 1))
    objdump=x86_64-w64-mingw32-objdump
    [[ "$folder" == *win32* ]] && objdump=i686-w64-mingw32-objdump
    while read -r dll; do
      if ! [[ "$dll" =~ $allowed ]]; then
        echo "imports: $exe needs $dll" >&2
        status=1
      fi
    done < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  done < <(find "$folder" -iname '*.exe' -not -path '*/wine-state/*' -not -path '*/CMakeFiles/*' -print0)
done
[[ $count -gt 0 ]] || { echo "imports: no executables found" >&2; exit 1; }
[[ $status == 0 ]] && echo "imports: $count executables need only Windows' own DLLs"
exit $status
