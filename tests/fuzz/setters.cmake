# The binding-file element mapping (window-free: the XML reader sits behind
# ActionXmlSource, so the fuzzer feeds elements directly).
snibbet_fuzz_target(setters_binding_elements_fuzz setters_binding_elements_fuzz.cpp)
target_link_libraries(setters_binding_elements_fuzz PRIVATE snibbet_keyboard_pure)
