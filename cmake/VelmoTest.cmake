# velmo_add_test(NAME name SOURCES ... LIBS ... [LABELS ...])
# One GoogleTest executable per group, registered with ctest and run headless.
function(velmo_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  find_package(GTest REQUIRED)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest velmo_test_main)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set(labels unit)
  if(T_LABELS)
    set(labels ${T_LABELS})
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "${labels}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELMO_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    TIMEOUT 600)
endfunction()
