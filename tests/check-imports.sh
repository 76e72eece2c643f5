#!/usr/bin/env bash
# Checks that Windows programs load on a fresh Windows XP: every DLL they
# import is one that XP ships, none of the MinGW runtime DLLs is needed
# (everything is linked statically), no import is a function that only later
# Windows versions have, and the PE header asks for no newer subsystem.
#
#   check-imports.sh [--objdump PROGRAM] [--format pe32|pe32+] [--list FILE]
#                    [PROGRAM.exe...]
#
# pe32 (the default) checks 32-bit programs against Windows XP SP3 (NT 5.1);
# pe32+ checks 64-bit programs against Windows XP x64 (NT 5.2), the oldest
# 64-bit Windows, and so against every later one too.
#
# FILE lists programs one per line (the build writes executables.txt). Fails
# when there is nothing to check or a listed program is missing.
set -euo pipefail

objdump=i686-w64-mingw32-objdump
format=pe32
programs=()
while (($#)); do
    case $1 in
        --objdump) objdump=$2; shift 2 ;;
        --format) format=$2; shift 2 ;;
        --list)
            [[ -f $2 ]] || { echo "check-imports: no list $2" >&2; exit 2; }
            while IFS= read -r line; do
                [[ -n $line ]] && programs+=("$line")
            done <"$2"
            shift 2
            ;;
        *) programs+=("$1"); shift ;;
    esac
done

case $format in
    pe32) magic=010b windows="Windows XP" max_minor=1 ;;
    pe32+) magic=020b windows="Windows XP x64" max_minor=2 ;;
    *) echo "check-imports: unknown format '$format' (pe32 or pe32+)" >&2; exit 2 ;;
esac

if ((${#programs[@]} == 0)); then
    echo "check-imports: no programs to check" >&2
    exit 1
fi

# System DLLs of a fresh Windows XP SP3 (lower case).
allowed=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll ole32.dll oleaut32.dll
 olepro32.dll oledlg.dll shell32.dll shlwapi.dll advapi32.dll msvcrt.dll ntdll.dll rpcrt4.dll
 version.dll winmm.dll winspool.drv imm32.dll uxtheme.dll msimg32.dll riched20.dll riched32.dll
 ws2_32.dll wsock32.dll mpr.dll netapi32.dll secur32.dll crypt32.dll userenv.dll psapi.dll
 setupapi.dll shfolder.dll urlmon.dll wininet.dll gdiplus.dll opengl32.dll glu32.dll "

# Functions that XP SP3's system DLLs lack although MinGW's import libraries
# offer them; a program importing one fails to start there.
newer=" GetTickCount64 InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared
 ReleaseSRWLockExclusive ReleaseSRWLockShared TryAcquireSRWLockExclusive
 InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
 WakeConditionVariable WakeAllConditionVariable InitOnceExecuteOnce InitOnceBeginInitialize
 InitializeCriticalSectionEx CreateEventExA CreateEventExW CreateMutexExA CreateMutexExW
 CreateSemaphoreExW CreateSymbolicLinkA CreateSymbolicLinkW GetFinalPathNameByHandleA
 GetFinalPathNameByHandleW GetFileInformationByHandleEx SetFileInformationByHandle
 GetSystemTimePreciseAsFileTime QueryFullProcessImageNameA QueryFullProcessImageNameW
 GetThreadId GetErrorMode SetThreadErrorMode FlsAlloc FlsFree FlsGetValue FlsSetValue
 CompareStringEx LCMapStringEx GetLocaleInfoEx GetUserDefaultLocaleName
 GetCurrentProcessorNumber GetLogicalProcessorInformation RegGetValueA RegGetValueW
 RegDeleteTreeW SHGetKnownFolderPath SHCreateItemFromParsingName TaskDialog
 TaskDialogIndirect SetProcessDPIAware ChangeWindowMessageFilter ChangeWindowMessageFilterEx
 GetDpiForWindow _get_current_locale "

allowed=" ${allowed//$'\n'/ } "
newer=" ${newer//$'\n'/ } "

failures=0
complain() {
    echo "check-imports: $1: $2" >&2
    failures=$((failures + 1))
}

for program in "${programs[@]}"; do
    name=$(basename "$program")
    if [[ ! -f $program ]]; then
        complain "$name" "missing ($program); build first"
        continue
    fi
    if ! dump=$("$objdump" -p "$program" 2>&1); then
        complain "$name" "not a readable PE file: $dump"
        continue
    fi
    if ! grep -q "^Magic[[:space:]]*$magic" <<<"$dump"; then
        complain "$name" "not a ${format^^} program"
    fi
    major=$(awk '/^MajorSubsystemVersion/ {print $2}' <<<"$dump")
    minor=$(awk '/^MinorSubsystemVersion/ {print $2}' <<<"$dump")
    if ((major > 5 || (major == 5 && minor > max_minor))); then
        complain "$name" "subsystem version $major.$minor; $windows loads 5.$max_minor at most"
    fi

    # "DLL Name: X" opens each DLL's import list; its functions follow as
    # lines "<vma> <hint> <name>" until a blank line.
    dlls=()
    while IFS=$'\t' read -r dll function; do
        if [[ -z $function ]]; then
            dlls+=("$dll")
        elif [[ $newer == *" $function "* ]]; then
            complain "$name" "imports $function from $dll, which $windows lacks"
        fi
    done < <(awk '
        /^[[:space:]]*DLL Name:/ { dll = tolower($3); print dll "\t"; inlist = 1; next }
        inlist && NF == 0 { inlist = 0; next }
        inlist && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print dll "\t" $3 }
    ' <<<"$dump")

    if ((${#dlls[@]} == 0)); then
        complain "$name" "no import table found"
        continue
    fi
    for dll in "${dlls[@]}"; do
        case $dll in
            libstdc++*.dll | libgcc_s_*.dll | libwinpthread*.dll | libssp*.dll | libgomp*.dll)
                complain "$name" "needs the MinGW runtime DLL $dll (link statically)"
                ;;
            *)
                if [[ $allowed != *" $dll "* ]]; then
                    complain "$name" "imports $dll, which a fresh $windows does not have"
                fi
                ;;
        esac
    done
    echo "check-imports: $name: ${dlls[*]}"
done

if ((failures > 0)); then
    echo "check-imports: $failures problem(s) in ${#programs[@]} program(s)" >&2
    exit 1
fi
echo "check-imports: ${#programs[@]} program(s) fit $windows"
