@echo off
rem Tollivar: run hidden by "Heal Sel. X" just before the scan's findings are healed.
rem
rem Ends script hosts (wscript.exe, cscript.exe, mshta.exe) whose command line runs a script from a
rem removable drive: that is how worms on USB sticks keep themselves alive while their files are being
rem removed. Script hosts running scripts from any other place are left alone, and no file, folder or
rem registry value is deleted or changed. Without PowerShell the file does nothing.
setlocal
set "PS=%SystemRoot%\System32\WindowsPowerShell\v1.0\powershell.exe"
if not exist "%PS%" goto :done

rem The removable drives (drive type 2) are listed first; a process is ended only when the script it
rem runs is on one of them: the first word after the program that is not a "//" switch of the host,
rem e.g. wscript.exe //B "E:\autorun.vbs" or mshta.exe E:\x.hta. A drive named elsewhere on the line
rem (an argument to a script on C:) leaves the process alone. \x22 is the double quote.
"%PS%" -NoProfile -NonInteractive -ExecutionPolicy Bypass -Command "$drives = @(Get-WmiObject Win32_LogicalDisk -Filter 'DriveType=2' | ForEach-Object { $_.DeviceID.ToUpper() }); if ($drives.Count -eq 0) { exit 0 }; Get-WmiObject Win32_Process -Filter 'Name=''wscript.exe'' OR Name=''cscript.exe'' OR Name=''mshta.exe''' | Where-Object { $words = @([regex]::Matches([string]$_.CommandLine, '(?:\x22[^\x22]*\x22?|[^\s\x22]+)+') | ForEach-Object { $_.Value -replace '\x22', '' }); $target = @($words | Select-Object -Skip 1 | Where-Object { -not $_.StartsWith('//') } | Select-Object -First 1 | ForEach-Object { $_ -replace '^\\\\[?.]\\', '' }); $target.Count -eq 1 -and $target[0] -match '^[A-Za-z]:' -and $drives -contains $target[0].Substring(0, 2) } | ForEach-Object { Stop-Process -Id $_.ProcessId -Force -ErrorAction SilentlyContinue }"

:done
endlocal
exit /b 0
