# libFuzzer target of the template file reader (included from CMakeLists.txt):
#   cmake --build build/fuzz --target zqt_reader_fuzz
#   build/fuzz/tests/fuzz/zqt_reader_fuzz build/fuzz/zqt_work tests/fuzz/zqt_corpus -max_total_time=60
# The short run is a test of this build; the host preset runs the same target
# through a plain driver (tests/CMakeLists.txt).
# The reader's own sources are built in, so that libFuzzer sees their coverage.
set(zqt_fuzz_sources template_record.cpp name_folding.cpp zqt_codec.cpp template_table.cpp
    template_table_view.cpp template_table_bulk.cpp template_file_logic.cpp)
list(TRANSFORM zqt_fuzz_sources PREPEND ${CMAKE_SOURCE_DIR}/templates/)
add_executable(zqt_reader_fuzz zqt_reader_fuzz.cpp ${zqt_fuzz_sources})
target_include_directories(zqt_reader_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(zqt_reader_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(zqt_reader_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
set(zqt_fuzz_work ${CMAKE_BINARY_DIR}/zqt_work)
file(MAKE_DIRECTORY ${zqt_fuzz_work})
add_test(NAME zqt_reader_fuzz_short
  COMMAND zqt_reader_fuzz ${zqt_fuzz_work} ${CMAKE_CURRENT_SOURCE_DIR}/zqt_corpus -max_total_time=20 -rss_limit_mb=1024)
set_tests_properties(zqt_reader_fuzz_short PROPERTIES TIMEOUT 120 LABELS "fuzz")
