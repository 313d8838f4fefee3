# Fuzz target of the template-tag expander, on the host only. Include once,
# from tests/CMakeLists.txt. With clang and SNIBBET_FUZZ it is a libFuzzer
# program:
#   build/fuzz/tests/tags_expander_fuzz -dict=tests/fuzz/tags.dict WORK_DIR tests/fuzz/corpus/tags_expander
# (libFuzzer writes new inputs into the first folder: give it one of its own).
# Otherwise a plain driver runs the seed corpus and a fixed set of mutations,
# and the test "tags_expander_fuzz_short" does that in every host test run.
include_guard(GLOBAL)
if(NOT WIN32)
  set(TAGS_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
  if(SNIBBET_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # The tag sources are compiled in so that libFuzzer sees their coverage.
    get_target_property(TAGS_FUZZ_SOURCES snibbet_tags_pure SOURCES)
    add_executable(tags_expander_fuzz ${TAGS_FUZZ_DIR}/tags_expander_fuzz.cpp ${TAGS_FUZZ_SOURCES})
    target_include_directories(tags_expander_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(tags_expander_fuzz PRIVATE snibbet_pure)
    target_compile_options(tags_expander_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(tags_expander_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    set(TAGS_FUZZ_WORK ${CMAKE_CURRENT_BINARY_DIR}/tags_fuzz_work)
    file(MAKE_DIRECTORY ${TAGS_FUZZ_WORK})
    add_test(NAME tags_expander_fuzz_short
      COMMAND tags_expander_fuzz -runs=20000 -dict=${TAGS_FUZZ_DIR}/tags.dict
              ${TAGS_FUZZ_WORK} ${TAGS_FUZZ_DIR}/corpus/tags_expander)
  else()
    add_executable(tags_expander_fuzz ${TAGS_FUZZ_DIR}/tags_expander_fuzz.cpp ${TAGS_FUZZ_DIR}/tags_fuzz_driver.cpp)
    target_link_libraries(tags_expander_fuzz PRIVATE snibbet_tags_pure)
    add_test(NAME tags_expander_fuzz_short
      COMMAND tags_expander_fuzz -runs=10000 -seed=7 -dict=${TAGS_FUZZ_DIR}/tags.dict ${TAGS_FUZZ_DIR}/corpus/tags_expander)
  endif()
  set_target_properties(tags_expander_fuzz PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SNIBBET_TEST_DIR})
  set_tests_properties(tags_expander_fuzz_short PROPERTIES TIMEOUT 300 LABELS "pure;fuzz")
endif()
