# Template tags, window-free: natively in the host preset (with sanitizers)
# and under Wine in the windows preset.
snibbet_test(tags_pure_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/host/tags_date_format_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/host/tags_text_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/host/tags_paste_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/host/tags_pattern_formats_test.cpp
  LIBS snibbet_tags_pure
  LABELS pure templates)
