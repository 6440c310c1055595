; The peer Setup.exe is measured against in scripts/bench: an NSIS installer
; of the same set, made the plain way, its files packed into the installer.
;
;   makensis -DSADA=<folder of the set> -DVYSTUP=<installer> Sada.nsi
;
; Run with /S it installs silently; /D=<folder>, last and unquoted, names
; the target. Without /S it shows the folder page first, as Setup shows its
; window with the target folder.
Unicode true
Name "Sablony"
OutFile "${VYSTUP}"
InstallDir "$PROGRAMFILES\Microsoft Office\Templates\Sada"
; As Setup.exe's manifest asks: an administrator's full rights where the
; user has them.
RequestExecutionLevel highest
; The set's files are random bytes: compressing them would cost time and
; save nothing, so they are stored as they are. (The bench's sets are copies
; of one file; NSIS stores their data once and writes it out for each.)
SetCompress off

Page directory
Page instfiles

Section
    SetOutPath "$INSTDIR"
    File "${SADA}/*.dot"
SectionEnd
