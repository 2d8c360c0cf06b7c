#!/usr/bin/env bash
# Checks that a built program is a Windows GUI executable of the given kind that needs no MinGW DLL.
#   check-pe.sh EXE "PE32+ executable (GUI) x86-64"|"PE32 executable (GUI) Intel 80386" OBJDUMP
set -euo pipefail
exe=$1 kind=$2 objdump=$3
description=$(file -b "$exe")
case "$description" in
    "$kind"*) ;;
    *) echo "check-pe: $exe is '$description', expected '$kind'" >&2; exit 1 ;;
esac
# Only DLLs that Windows itself ships may be imported.
allowed='^(KERNEL32|USER32|GDI32|COMCTL32|SHELL32|ADVAPI32|msvcrt|ole32|OLEAUT32|COMDLG32|SHLWAPI|VERSION)\.dll$'
bad=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | grep -i -v -E "$allowed" || true)
if [ -n "$bad" ]; then
    echo "check-pe: $exe imports DLLs Windows does not ship: $bad" >&2
    exit 1
fi
echo "check-pe: $exe: $description; imports: $("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
