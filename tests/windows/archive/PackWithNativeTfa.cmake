# cmake -DTFA=<native tfa> -DOUT=<archive> -DFILES=a;b;c -P PackWithNativeTfa.cmake
# Builds the archive that the Windows test reads, with the tool of the native tree.
if(NOT EXISTS "${TFA}")
  message(FATAL_ERROR "${TFA} is missing: build the native tree first (make native)")
endif()
execute_process(COMMAND "${TFA}" pack "${OUT}" ${FILES} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "tfa pack failed (${rc})")
endif()
