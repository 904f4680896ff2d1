# End-to-end tests: the real tarvokdiy.exe under Wine, driven from outside with xdotool.
file(GLOB E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
foreach(script ${E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e.${name} COMMAND /usr/bin/python3 ${script}
    --exe $<TARGET_FILE:tarvokdiy> --out ${CMAKE_BINARY_DIR}/e2e/${name})
  set_tests_properties(e2e.${name} PROPERTIES RESOURCE_LOCK display TIMEOUT 900 LABELS e2e)
endforeach()
