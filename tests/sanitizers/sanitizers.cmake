# The sanitized build (BLIKON_SANITIZE): AddressSanitizer and UndefinedBehaviorSanitizer
# on every target of the project; any finding ends the program with an error. Every
# program also carries the runtime options below, so a test reports the same whether
# ctest, a shell or a debugger runs it.
add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
add_link_options(-fsanitize=address,undefined)

add_library(blikon_sanitizer_options OBJECT ${CMAKE_CURRENT_LIST_DIR}/defaultoptions.cpp)
target_compile_definitions(blikon_sanitizer_options PRIVATE
  BLIKON_SANITIZER_DIR="${CMAKE_CURRENT_LIST_DIR}")
# Into every executable made from here on; libraries take nothing.
link_libraries("$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:blikon_sanitizer_options>")
