' Copies the day's reports to the backup share.
Option Explicit

Const ForReading = 1, ForWriting = 2
Dim fso, shell, source, target, count, started

Set fso = CreateObject("Scripting.FileSystemObject")
Set shell = WScript.CreateObject("WScript.Shell")
source = shell.ExpandEnvironmentStrings("%USERPROFILE%\Raporty")
target = "\\serwer\kopie\" & Year(Now) & "-" & Right("0" & Month(Now), 2)
started = #12/08/2003 06:00#
count = 0

If Not fso.FolderExists(target) Then fso.CreateFolder target

Sub CopyReports(folder)
    Dim file
    For Each file In folder.Files
        If LCase(fso.GetExtensionName(file.Name)) = "xls" And file.DateLastModified >= started Then
            file.Copy target & "\" & file.Name, True
            count = count + 1
        ElseIf file.Size > 1.5E6 Then
            WScript.Echo "Za du" & Chr(380) & "y: " & file.Name   ' skipped
        End If
    Next
End Sub

On Error Resume Next
CopyReports fso.GetFolder(source)
If Err.Number <> 0 Then
    WScript.Echo "B" & Chr(322) & Chr(261) & "d: " & Err.Description
    Err.Clear
End If
WScript.Echo "Skopiowano plik" & IIf(count = 1, "", "i") & ": " & count
