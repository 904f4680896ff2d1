# The Wine tests: one ctest case per GoogleTest suite, each suite in its own process under
# Wine. Suites are found in the sources (running the cross-built binary to list them would
# need Wine at configure time).
set(WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
set(WINE_SUITES)
foreach(source ${WINE_TEST_SOURCES})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(STRINGS ${source} lines REGEX "^(TEST|TEST_F|TEST_P)\\(")
  foreach(line ${lines})
    if(line MATCHES "^TEST(_F|_P)?\\(([A-Za-z0-9_]+),")
      list(APPEND WINE_SUITES ${CMAKE_MATCH_2})
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES WINE_SUITES)
foreach(suite ${WINE_SUITES})
  add_test(NAME wine.${suite} COMMAND ${WINE_RUN} $<TARGET_FILE:wine_tests> --gtest_filter=${suite}.*:${suite}/*)
  set_tests_properties(wine.${suite} PROPERTIES RESOURCE_LOCK display TIMEOUT 600 LABELS wine
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\];Running 0 tests")
endforeach()
