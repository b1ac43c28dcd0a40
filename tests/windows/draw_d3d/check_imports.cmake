# cmake -DDLL=<file> -DOBJDUMP=<objdump> -DALLOWED=<a,b,...> -P check_imports.cmake
# Fails unless every DLL that <file> imports is one of ALLOWED (compared ignoring
# case): the renderer must run on a stock Windows, which has no D3DX.
cmake_policy(SET CMP0057 NEW)  # if(IN_LIST)
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${OBJDUMP} -p ${DLL}
  OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()
string(REPLACE "," ";" allowed "${ALLOWED}")
string(TOLOWER "${allowed}" allowed)
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
if(NOT names)
  message(FATAL_ERROR "${DLL} lists no imported DLL")
endif()
foreach(entry IN LISTS names)
  string(REGEX REPLACE "DLL Name: *" "" name "${entry}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" lower)
  if(NOT lower IN_LIST allowed)
    message(FATAL_ERROR "${DLL} imports ${name}, which is not among ${ALLOWED}")
  endif()
  message(STATUS "imports ${name}")
endforeach()
