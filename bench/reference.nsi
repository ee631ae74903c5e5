; The size reference: an empty installer with the usual Modern UI pages
; (licence, folder, progress, finish) and nothing to install. bench/run.sh
; builds it with makensis and measures its size only.
!include "MUI2.nsh"
Name "Reference"
OutFile "${OUT}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Reference"
!insertmacro MUI_PAGE_LICENSE "licence.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "SimpChinese"
Section
SectionEnd
