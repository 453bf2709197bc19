# cmake -DOBJDUMP=... -DBINARY=... -DEXPORTS=name;... -DENGINE_IMPORTS=name;... -P CheckDriverLinks.cmake
# Fails unless the driver DLL exports exactly the given names (undecorated, in any order)
# and imports every one of the given engine functions from gdi32.
execute_process(COMMAND ${OBJDUMP} -p ${BINARY} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${BINARY}")
endif()

# Exported names: the lines of the name-pointer table.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)+" name_table "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" exported "${name_table}")
list(TRANSFORM exported REPLACE "^\\[ *[0-9]+\\] " "")
list(SORT exported)
set(expected ${EXPORTS})
list(SORT expected)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "${BINARY} exports\n  ${exported}\nexpected exactly\n  ${expected}")
endif()

# Imports from gdi32: the block after its "DLL Name" line, up to the next blank line.
string(REGEX MATCH "DLL Name: [Gg][Dd][Ii]32\\.dll\n([^\n]+\n)+" gdi_block "${dump}")
foreach(function ${ENGINE_IMPORTS})
  if(NOT gdi_block MATCHES "[ \t_]${function}[@\n ]")
    message(FATAL_ERROR "${BINARY} does not import ${function} from gdi32")
  endif()
endforeach()
message(STATUS "${BINARY}: exports and engine imports as expected")
