# libFuzzer target of the template file reader (included from CMakeLists.txt);
# tools/test runs it seeded from corpus/zqt_reader. The host preset also runs the
# same target through a plain driver (tests/CMakeLists.txt).
# The reader's own sources are built in, so that libFuzzer sees their coverage.
set(zqt_fuzz_sources template_record.cpp name_folding.cpp zqt_codec.cpp template_table.cpp
    template_table_view.cpp template_table_bulk.cpp template_file_logic.cpp)
list(TRANSFORM zqt_fuzz_sources PREPEND ${CMAKE_SOURCE_DIR}/templates/)
snibbet_fuzz_target(zqt_reader_fuzz zqt_reader_fuzz.cpp ${zqt_fuzz_sources})
