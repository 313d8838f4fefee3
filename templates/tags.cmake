# Template tags: expansion and paste (window-free core, built natively too)
# and its Windows environment. Included from templates/CMakeLists.txt.
add_library(snibbet_tags_pure STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tag_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tag_some_of.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tag_random.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tag_date_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tag_pattern_formats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/template_tag_menu_items.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tag_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tag_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/template_tags.cpp
  ${CMAKE_CURRENT_LIST_DIR}/template_tags_caret.cpp
)
target_link_libraries(snibbet_tags_pure PUBLIC snibbet_pure)

if(WIN32)
  add_library(snibbet_tags STATIC
    ${CMAKE_CURRENT_LIST_DIR}/tag_date_locale_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/template_tags_win.cpp
  )
  target_link_libraries(snibbet_tags PUBLIC snibbet_tags_pure snibbet_clipboard snibbet_keyboard_pure snibbet_core user32 kernel32)
endif()
