#!/usr/bin/env bash
# Fails when a Windows executable in the given build folders imports a DLL that is not part of
# Windows itself (the program must run from the installation disk with nothing installed), or when
# the i686 release of SETUP.EXE or of ORVCHECK.EXE imports a function that Windows XP lacks (a missing import stops the program from
# loading at all). The list holds the later functions that compilers' runtimes and libraries are
# known to reach for.
set -euo pipefail

allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|SHLWAPI|OLE32|OLEAUT32|COMCTL32|COMDLG32|LZ32|VERSION|msvcrt)\.dll$'
after_xp='^(GetTickCount64|(Initialize|Acquire|Release|TryAcquire)SRWLock(Exclusive|Shared)?|'\
'InitializeConditionVariable|SleepConditionVariable(CS|SRW)|Wake(All)?ConditionVariable|'\
'InitOnce(ExecuteOnce|BeginInitialize|Complete)|Fls(Alloc|Free|GetValue|SetValue)|'\
'GetSystemTimePreciseAsFileTime|(Create(Event|Mutex|Semaphore)Ex[AW])|GetErrorMode|'\
'(GetLocaleInfo|LCMapString|CompareString)Ex|GetUserDefaultLocaleName|CreateSymbolicLink[AW]|'\
'GetFinalPathNameByHandle[AW]|RegDeleteTree[AW]|RegGetValue[AW]|SHGetKnownFolderPath|'\
'TaskDialog(Indirect)?|SetProcessDPIAware|SetProcessDpiAwareness(Context)?|'\
'SetThreadDpiAwarenessContext|GetDpiFor(Window|System|Monitor)|GetSystemMetricsForDpi|'\
'AdjustWindowRectExForDpi|SystemParametersInfoForDpi|EnableNonClientDpiScaling)$'
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
    [[ "$folder" == *win32* && "$(basename "$exe")" =~ ^(SETUP|ORVCHECK)\.EXE$ ]] || continue
    while read -r function; do
      if [[ "$function" =~ $after_xp ]]; then
        echo "imports: $exe needs $function, which Windows XP lacks" >&2
        status=1
      fi
    done < <("$objdump" -p "$exe" | awk '/DLL Name:/ { names = 1; next }
                                          names && NF == 3 && $2 ~ /^[0-9]+$/ { print $3 }')
  done < <(find "$folder" -iname '*.exe' -not -path '*/wine-state/*' -not -path '*/CMakeFiles/*' -print0)
done
[[ $count -gt 0 ]] || { echo "imports: no executables found" >&2; exit 1; }
[[ $status == 0 ]] && echo "imports: $count executables need only Windows' own DLLs"
exit $status
