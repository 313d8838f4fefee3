# The binding-file element mapping (window-free: the XML reader sits behind
# ActionXmlSource, so the fuzzer feeds elements directly).
add_executable(setters_binding_elements_fuzz setters_binding_elements_fuzz.cpp)
target_link_libraries(setters_binding_elements_fuzz PRIVATE snibbet_keyboard_pure)
target_compile_options(setters_binding_elements_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(setters_binding_elements_fuzz PRIVATE -fsanitize=fuzzer)
