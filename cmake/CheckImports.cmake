# cmake -DOBJDUMP=... -DBINARY=... [-DFORBIDDEN=regex] -P CheckImports.cmake
# Fails when a Windows binary imports a DLL whose name matches FORBIDDEN (by default the
# mingw runtimes, which must be linked in statically).
if(NOT FORBIDDEN)
  set(FORBIDDEN "libstdc|libgcc|libwinpthread")
endif()
execute_process(COMMAND ${OBJDUMP} -p ${BINARY} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${BINARY}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
message(STATUS "${BINARY} imports: ${imports}")
foreach(import ${imports})
  string(TOLOWER "${import}" import)
  if(import MATCHES "${FORBIDDEN}")
    message(FATAL_ERROR "${BINARY} must not import ${import}")
  endif()
endforeach()
