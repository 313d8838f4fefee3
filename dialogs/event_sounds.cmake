# The event sounds of the program folder's Sound\, synthesised at build time
# by make_event_sounds.py (no sound files are kept in the sources).
find_package(Python3 3.7 REQUIRED COMPONENTS Interpreter)
set(MAKE_EVENT_SOUNDS ${CMAKE_CURRENT_LIST_DIR}/make_event_sounds.py)
set(event_sound_files)
foreach(sound TypeCharacter TypeErase TypeOther Action)
  set(file ${SNIBBET_PROGRAM_DIR}/Sound/${sound}.wav)
  add_custom_command(OUTPUT ${file}
    COMMAND ${Python3_EXECUTABLE} ${MAKE_EVENT_SOUNDS} ${sound} ${file}
    DEPENDS ${MAKE_EVENT_SOUNDS}
    COMMENT "Making event sound ${sound}.wav"
    VERBATIM)
  list(APPEND event_sound_files ${file})
endforeach()
add_custom_target(event_sounds ALL DEPENDS ${event_sound_files})
