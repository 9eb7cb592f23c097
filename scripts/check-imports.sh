#!/usr/bin/env bash
# Fails when a Windows executable in the given build folders imports a DLL that is not part of
# Windows itself (the program must run from the installation disk with nothing installed), when
# SETUP.EXE (either build) imports a DLL that is not one of Windows' KnownDLLs, or when the i686
# release of SETUP.EXE or of ORVCHECK.EXE imports a function that Windows XP lacks (a missing
# import stops the program from loading at all). The list holds the later functions that
# compilers' runtimes and libraries are known to reach for.
set -euo pipefail

allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|SHLWAPI|OLE32|OLEAUT32|COMCTL32|COMDLG32|LZ32|VERSION|msvcrt)\.dll$'
# SETUP.EXE runs elevated from folders anyone may write into (a download folder). Windows resolves
# a program's imports before its first instruction, from the program's own folder first unless
# the DLL is one of its KnownDLLs, which always come from the system folder: any other import (lz32,
# version, and the common controls, which the manifest's side-by-side assembly redirects only
# where that assembly exists) could be a planted copy. The program delay-loads the rest once it
# has confined the search to the system folder.
known='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|SHLWAPI|OLE32|OLEAUT32|COMDLG32|msvcrt)\.dll$'
after_xp='^(GetTickCount64|(Initialize|Acquire|Release|TryAcquire)SRWLock(Exclusive|Shared)?|'\
'InitializeConditionVariable|SleepConditionVariable(CS|SRW)|Wake(All)?ConditionVariable|'\
'InitOnce(ExecuteOnce|BeginInitialize|Complete)|Fls(Alloc|Free|GetValue|SetValue)|'\
'GetSystemTimePreciseAsFileTime|(Create(Event|Mutex|Semaphore)Ex[AW])|GetErrorMode|'\
'(GetLocaleInfo|LCMapString|CompareString)Ex|GetUserDefaultLocaleName|CreateSymbolicLink[AW]|'\
'GetFinalPathNameByHandle[AW]|RegDeleteTree[AW]|RegGetValue[AW]|SHGetKnownFolderPath|'\
'TaskDialog(Indirect)?|SetProcessDPIAware|SetProcessDpiAwareness(Context)?|'\
'SetThreadDpiAwarenessContext|GetDpiFor(Window|System|Monitor)|GetSystemMetricsForDpi|'\
'AdjustWindowRectExForDpi|SystemParametersInfoForDpi|EnableNonClientDpiScaling)$'
# The functions the delay-loaded imports bring into a program: the linker map beside it lists the
# import members it took, with the symbol each was taken for.
delay_imported() {
  local map="${1%.*}.map"
  [[ -f "$map" ]] || return 0
  awk '/_delay\.a\(.*_s[0-9]+\.o\)$/ {
         getline
         if (match($0, /\([^()]*\)$/)) {
           name = substr($0, RSTART + 1, RLENGTH - 2)
           if (!sub(/^_*imp_+/, "", name)) sub(/^_/, "", name)
           sub(/@[0-9]+$/, "", name)
           print name
         }
       }' "$map"
}
shopt -s nocasematch
status=0
count=0
for folder in "$@"; do
  while IFS= read -r -d '' exe; do
    count=$((count + 1))
    objdump=x86_64-w64-mingw32-objdump
    [[ "$folder" == *win32* ]] && objdump=i686-w64-mingw32-objdump
    setup=0
    [[ "$(basename "$exe")" =~ ^SETUP\.EXE$ ]] && setup=1
    while read -r dll; do
      if ! [[ "$dll" =~ $allowed ]]; then
        echo "imports: $exe needs $dll" >&2
        status=1
      elif [[ $setup == 1 ]] && ! [[ "$dll" =~ $known ]]; then
        echo "imports: $exe needs $dll, which is not a KnownDLL: a copy planted beside it would load" >&2
        status=1
      fi
    done < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
    [[ "$folder" == *win32* && "$(basename "$exe")" =~ ^(SETUP|ORVCHECK)\.EXE$ ]] || continue
    while read -r function; do
      if [[ "$function" =~ $after_xp ]]; then
        echo "imports: $exe needs $function, which Windows XP lacks" >&2
        status=1
      fi
    done < <("$objdump" -p "$exe" | awk '/DLL Name:/ { names = 1; next }
                                          names && NF == 3 && $2 ~ /^[0-9]+$/ { print $3 }'
             delay_imported "$exe")
  # The scenarios' and dry runs' disks hold copies of the programs and stand-ins for authors' ones.
  done < <(find "$folder" -iname '*.exe' -not -path '*/wine-state/*' -not -path '*/CMakeFiles/*' \
             -not -path '*/e2e-results/*' -not -path '*/dry-run/*' -print0)
done
[[ $count -gt 0 ]] || { echo "imports: no executables found" >&2; exit 1; }
[[ $status == 0 ]] && echo "imports: $count executables need only Windows' own DLLs"
exit $status
