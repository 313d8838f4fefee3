# The icon sets of the program folder's Icons\, packed from their text sources
# in data/Icons by zqi_pack.py; one source may give several sets (the Windows
# and desktop sets are the same for every Windows version).
find_package(Python3 3.7 REQUIRED COMPONENTS Interpreter)
set(ZQI_PACK ${CMAKE_CURRENT_LIST_DIR}/zqi_pack.py)
set(icon_set_files)
set(icon_set_sources)
foreach(pair Notepad:Notepad Windows:Win2000 Windows:WinXP Windows:WinVista
             Desktop:Desktop2000 Desktop:DesktopXP Desktop:DesktopVista)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 source)
  list(GET pair 1 set)
  set(packed ${SNIBBET_PROGRAM_DIR}/Icons/${set}.zqi)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${Python3_EXECUTABLE} ${ZQI_PACK} ${CMAKE_SOURCE_DIR}/data/Icons/${source}.txt ${packed}
    DEPENDS ${CMAKE_SOURCE_DIR}/data/Icons/${source}.txt ${ZQI_PACK}
    COMMENT "Packing icon set ${set}.zqi"
    VERBATIM)
  list(APPEND icon_set_files ${packed})
  list(APPEND icon_set_sources ${SNIBBET_PROGRAM_DIR}/Icons/${source}.txt)
endforeach()
list(REMOVE_DUPLICATES icon_set_sources)
if(TARGET program_data)
  # The copy of data/ brings the text sources along; the program folder ships
  # only the packed sets.
  add_custom_target(icon_sets ALL
    COMMAND ${CMAKE_COMMAND} -E rm -f ${icon_set_sources}
    DEPENDS ${icon_set_files})
  add_dependencies(icon_sets program_data)
else()
  add_custom_target(icon_sets ALL DEPENDS ${icon_set_files})
endif()
