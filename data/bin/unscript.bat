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

rem The removable drives (drive type 2) are listed first; a process is ended only when its command
rem line names a file on one of them, e.g. wscript.exe "E:\autorun.vbs".
"%PS%" -NoProfile -NonInteractive -ExecutionPolicy Bypass -Command "$drives = @(Get-WmiObject Win32_LogicalDisk -Filter 'DriveType=2' | ForEach-Object { $_.DeviceID.ToUpper() + '\' }); if ($drives.Count -eq 0) { exit 0 }; Get-WmiObject Win32_Process -Filter 'Name=''wscript.exe'' OR Name=''cscript.exe'' OR Name=''mshta.exe''' | Where-Object { $line = ([string]$_.CommandLine).ToUpper(); @($drives | Where-Object { $line.Contains($_) }).Count -gt 0 } | ForEach-Object { Stop-Process -Id $_.ProcessId -Force -ErrorAction SilentlyContinue }"

:done
endlocal
exit /b 0
