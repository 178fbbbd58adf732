# Read by ctest: one test per GoogleTest suite of the Windows test program, each run
# under Wine in a lane of its own (scripts/wine-lane), so that a failure names its suite
# and the suites run in parallel. One process per suite rather than per test: a Wine
# process takes about a second to start, which over hundreds of tests would take
# longer than the tests themselves.
#
# Set by the including file: korvane_tests_exe, korvane_wine_runner, korvane_suites_file.
# The suites are listed by the program itself, again whenever the program or this file
# is newer than the list.

if(NOT EXISTS "${korvane_tests_exe}")
  add_test(korvane_tests_NOT_BUILT korvane_tests_NOT_BUILT)
  return()
endif()

if(NOT EXISTS "${korvane_suites_file}" OR NOT "${korvane_suites_file}" IS_NEWER_THAN "${korvane_tests_exe}" OR
   NOT "${korvane_suites_file}" IS_NEWER_THAN "${CMAKE_CURRENT_LIST_FILE}")
  execute_process(
    COMMAND "${korvane_wine_runner}" "${korvane_tests_exe}" --gtest_list_tests
    OUTPUT_VARIABLE listing
    ERROR_VARIABLE errors
    RESULT_VARIABLE result
    TIMEOUT 600)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Listing the Windows tests failed (${result}):\n${listing}${errors}")
  endif()
  string(REPLACE "\r" "" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  # Suites stand at the start of a line as "Name.", their tests are indented below.
  set(suites "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)\\.$")
      set(suite "${CMAKE_MATCH_1}")
      list(APPEND suites ${suite})
      set(count_${suite} 0)
    elseif(line MATCHES "^  [A-Za-z_]" AND suites)
      math(EXPR count_${suite} "${count_${suite}} + 1")
    endif()
  endforeach()
  set(keymap_of_UsLayout us)
  set(keymap_of_GermanLayout de)
  set(keymap_of_FrenchLayout fr)
  set(keymap_of_UkLayout gb)
  set(keymap_of_GermanKeyAssignment de)
  set(script "")
  foreach(suite IN LISTS suites)
    # Without timings from an earlier run, ctest starts the suites with most tests first.
    string(APPEND script
      "add_test([==[${suite}]==] [==[${korvane_wine_runner}]==] [==[${korvane_tests_exe}]==] [==[--gtest_filter=${suite}.*]==])\n"
      "set_tests_properties([==[${suite}]==] PROPERTIES TIMEOUT 600 COST ${count_${suite}} FIXTURES_REQUIRED wine_lanes)\n")
    # The keyboard layout tests run on a display whose X key map is that layout (Wine
    # builds its keyboard layout from it).
    if(DEFINED keymap_of_${suite})
      string(APPEND script
        "set_tests_properties([==[${suite}]==] PROPERTIES ENVIRONMENT KORVANE_KEYMAP=${keymap_of_${suite}})\n")
    endif()
    # The high-DPI suites run once more at each of these DPIs (the lane sets the prefix's
    # LogPixels for the run).
    if(suite MATCHES "^HighDpi")
      foreach(dpi 144 192)
        string(APPEND script
          "add_test([==[${suite}_${dpi}dpi]==] [==[${korvane_wine_runner}]==] [==[${korvane_tests_exe}]==] [==[--gtest_filter=${suite}.*]==])\n"
          "set_tests_properties([==[${suite}_${dpi}dpi]==] PROPERTIES TIMEOUT 600 COST ${count_${suite}} FIXTURES_REQUIRED wine_lanes ENVIRONMENT KORVANE_DPI=${dpi})\n")
      endforeach()
    endif()
  endforeach()
  if(script STREQUAL "")
    message(FATAL_ERROR "The Windows test program listed no suites:\n${listing}")
  endif()
  file(WRITE "${korvane_suites_file}" "${script}")
endif()

include("${korvane_suites_file}")
