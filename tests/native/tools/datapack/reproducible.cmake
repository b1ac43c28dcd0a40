# Builds the same outputs twice and requires identical bytes: archives packed by
# datapack and sounds from soundsynth must not depend on the clock. Also requires
# datapack to refuse two members whose names differ only in case.
#   cmake -DDATAPACK=... -DSOUNDSYNTH=... -DSOURCE=<repo> -DWORK=<dir> -P reproducible.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/a ${WORK}/b ${WORK}/case)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}): ${err}")
  endif()
endfunction()

set(inputs ${SOURCE}/data/sprites/palette.txt ${SOURCE}/data/stages/0001.txt ${SOURCE}/data/stages/README.md)
run(${DATAPACK} ${WORK}/a/x.tfa ${inputs})
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)  # a clock-seeded writer would now differ
run(${DATAPACK} ${WORK}/b/x.tfa ${inputs})
run(${CMAKE_COMMAND} -E compare_files ${WORK}/a/x.tfa ${WORK}/b/x.tfa)

run(${SOUNDSYNTH} --out ${WORK}/a ${SOURCE}/data/sounds/effects.txt)
run(${SOUNDSYNTH} --out ${WORK}/b ${SOURCE}/data/sounds/effects.txt)
foreach(name jump.ogg clear.ogg timep.ogg)
  run(${CMAKE_COMMAND} -E compare_files ${WORK}/a/${name} ${WORK}/b/${name})
endforeach()

file(WRITE ${WORK}/case/Menu.png "one")
file(WRITE ${WORK}/a/menu.PNG "two")
execute_process(COMMAND ${DATAPACK} ${WORK}/case.tfa ${WORK}/case/Menu.png ${WORK}/a/menu.PNG
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "already packed")
  message(FATAL_ERROR "datapack took two members named alike ignoring case (${rc}): ${err}")
endif()
file(REMOVE_RECURSE ${WORK})
