# Template tags on the real system, under Wine.
snibbet_test(tags_system_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tags_system_test.cpp
  LIBS snibbet_tags
  LABELS unit templates)
# Pastes and synthetic keys into the test's own window, through the clipboard.
snibbet_test(tags_paste_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tags_paste_test.cpp
  LIBS snibbet_tags
  LABELS unit templates)
set_tests_properties(tags_paste_tests PROPERTIES RESOURCE_LOCK "x_input;clipboard")
