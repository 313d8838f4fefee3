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
# The template-tag menu: captions, the paste into the editor, the locale's formats.
snibbet_test(tag_menu_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tag_menu_test.cpp
  LIBS snibbet_tag_menu
  LABELS unit templates)
set_tests_properties(tag_menu_tests PROPERTIES RESOURCE_LOCK clipboard)
