# nelvo_add_test(NAME name SOURCES ... LIBS ...)
# Builds one QtTest executable and registers it with ctest, headless.
function(nelvo_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/xdg-runtime;NELVO_TEST_BINARY_DIR=${CMAKE_BINARY_DIR}"
    TIMEOUT 300)
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/xdg-runtime)
