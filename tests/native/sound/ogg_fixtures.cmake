# torv_ogg_fixtures(<target> <dir>): makes the test Ogg files in <dir> at build
# time (sox synthesises a sine, oggenc encodes it) and a target that builds them.
# Each file name says what it holds: tone<Hz>_<m|s><kHz>_<ms>ms.ogg; a stereo file
# has the first frequency on the left and the second on the right.
find_program(TORV_SOX sox REQUIRED)
find_program(TORV_OGGENC oggenc REQUIRED)

function(torv_ogg_fixtures target dir)
  # name rate channels seconds frequencies...
  set(fixtures
    "tone440_m22_500ms.ogg|22050|1|0.5|440"
    "tone1000-500_s44_1000ms.ogg|44100|2|1.0|1000 500"
    "tone300_m8_250ms.ogg|8000|1|0.25|300"
    "tone220-330_s44_3000ms.ogg|44100|2|3.0|220 330"
    "tone660_m44_20000ms.ogg|44100|1|20.0|660"
    "tone300_m8_61000ms.ogg|8000|1|61.0|300")
  set(outputs "")
  foreach(fixture IN LISTS fixtures)
    string(REPLACE "|" ";" f "${fixture}")
    list(GET f 0 name)
    list(GET f 1 rate)
    list(GET f 2 channels)
    list(GET f 3 seconds)
    list(GET f 4 freqs)
    separate_arguments(freqs)
    set(synth "")
    foreach(hz IN LISTS freqs)
      list(APPEND synth sine ${hz})
    endforeach()
    string(REPLACE ".ogg" ".wav" wav "${name}")
    add_custom_command(OUTPUT ${dir}/${name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${TORV_SOX} -q -n -r ${rate} -c ${channels} -b 16 ${dir}/${wav} synth ${seconds} ${synth} vol 0.5
      COMMAND ${TORV_OGGENC} -Q -q 2 -o ${dir}/${name} ${dir}/${wav}
      COMMAND ${CMAKE_COMMAND} -E rm -f ${dir}/${wav}
      VERBATIM)
    list(APPEND outputs ${dir}/${name})
  endforeach()
  add_custom_target(${target} DEPENDS ${outputs})
endfunction()
