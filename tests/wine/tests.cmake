# The Wine tests: one ctest case per GoogleTest case, each in its own process under Wine.
include(GoogleTest)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
set_target_properties(wine_tests PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
gtest_discover_tests(wine_tests
  DISCOVERY_MODE PRE_TEST
  DISCOVERY_TIMEOUT 60
  PROPERTIES RESOURCE_LOCK display TIMEOUT 120 LABELS wine)
