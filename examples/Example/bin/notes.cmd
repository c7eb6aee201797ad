@echo off
rem Notes: opens the notes folder in the editor of the system.
set NOTES=%~dp0..\notes
if not exist "%NOTES%" mkdir "%NOTES%"
start "" notepad "%NOTES%\today.txt"
