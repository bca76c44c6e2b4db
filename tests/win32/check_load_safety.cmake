# What the built program asks of the Windows loader: ASLR (high-entropy too) and DEP, and at
# load time only DLLs that Windows maps from System32 whatever lies beside the program (the
# KnownDLLs of Windows 10, and ntdll). Any other import would be taken from a download folder.
#
# cmake -DOBJDUMP=... -DEXE=... -P check_load_safety.cmake
cmake_minimum_required(VERSION 3.20)

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)
foreach(flag HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT)
  if(NOT headers MATCHES "\n[ \t]+${flag}\n")
    message(FATAL_ERROR "${EXE} lacks ${flag}")
  endif()
endforeach()

set(known advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32
          msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32
          shlwapi user32 wldap32 ws2_32 ntdll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(NOT imports)
  message(FATAL_ERROR "no imports read from ${EXE}")
endif()
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: (.+)\\.[dD][lL][lL]$" "\\1" dll "${line}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST known)
    message(FATAL_ERROR "${EXE} imports ${line}, not a KnownDLL")
  endif()
endforeach()
