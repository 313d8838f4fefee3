# The icon sets of the program folder's Icons\, packed from their text sources
# in data/Icons by zqi_pack.py; one source may give several sets (the Windows
# and desktop sets are the same for every Windows version).
find_package(Python3 3.7 REQUIRED COMPONENTS Interpreter)
set(ZQI_PACK ${CMAKE_CURRENT_LIST_DIR}/zqi_pack.py)
set(icon_set_files)
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
endforeach()
add_custom_target(icon_sets ALL DEPENDS ${icon_set_files})
