# Compiler settings and target helpers shared by every build tree.

add_compile_options(-Wall -Wextra -Werror)

if(TORV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Everything linked statically: the files run on a stock Windows with only system DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# torv_add_dll(<name> <sources...>): a Windows deliverable named exactly <name>.dll.
function(torv_add_dll name)
  add_library(${name} SHARED ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  # Entry points are cdecl extern "C": undecorated in both the 32- and 64-bit builds.
  target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup)
endfunction()

# torv_fuzz_instrument(<library>): in the fuzz tree, coverage and the sanitizers
# inside the library as well, so the fuzzers see its branches and its faults;
# whatever links the library then needs the sanitizer runtimes too.
function(torv_fuzz_instrument target)
  if(TORV_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
    target_link_options(${target} INTERFACE -fsanitize=address,undefined)
  endif()
endfunction()

# torv_add_native_tool(<name> <sources...>): a command-line tool in bin/.
function(torv_add_tool name)
  add_executable(${name} ${ARGN})
endfunction()

# torv_check_exports(<dll target> <name>...): a test that reads the DLL's export
# table with the MinGW objdump and fails unless every name is exported undecorated.
# Runs in both Windows trees (it needs no Wine).
function(torv_check_exports target)
  string(REPLACE ";" "," names "${ARGN}")
  add_test(NAME exports_${target}
    COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:${target}> -DOBJDUMP=${CMAKE_OBJDUMP}
            -DNAMES=${names} -P ${PROJECT_SOURCE_DIR}/cmake/CheckExports.cmake)
endfunction()

# torv_add_subdirectories([ADD_WITH <function>]): adds every direct subfolder that
# holds a CMakeLists.txt, so a new module's tests or tools need no edit of the parent's
# list. ADD_WITH names a function that adds one folder (given its name) instead.
function(torv_add_subdirectories)
  cmake_parse_arguments(A "" "ADD_WITH" "" ${ARGN})
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      if(A_ADD_WITH)
        cmake_language(CALL ${A_ADD_WITH} ${child})
      else()
        add_subdirectory(${child})
      endif()
    endif()
  endforeach()
endfunction()
