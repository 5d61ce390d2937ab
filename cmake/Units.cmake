# With Ninja, moc's step does not notice a unit added to or removed from a target (its depfile
# names only the headers it saw before), so a new Q_OBJECT header would link without its moc code.
# When the list of a target's files changes, drop the step's stamp so that it runs again.
function(ammerlin_refresh_moc name sources)
  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${name}_units.txt")
  set(old "")
  if(EXISTS "${list_file}")
    file(READ "${list_file}" old)
  endif()
  if(NOT old STREQUAL "${sources}")
    file(WRITE "${list_file}" "${sources}")
    file(REMOVE "${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/timestamp"
                "${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/deps")
  endif()
endfunction()

# Every folder of sources is one library made of all its .cpp files, so that a new unit needs
# no edit here: drop FThing.h/.cpp into the folder and re-run cmake.
function(ammerlin_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS;EXCLUDE" ${ARGN})
  set(sources)
  foreach(dir ${ARG_DIRS})
    file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
    list(APPEND sources ${found})
  endforeach()
  foreach(ex ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "${ex}")
  endforeach()
  set(has_cpp FALSE)
  foreach(s ${sources})
    if(s MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    ammerlin_refresh_moc(${name} "${sources}")
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# One GoogleTest executable per test folder; every .cpp in it is part of it.
function(ammerlin_tests name)
  cmake_parse_arguments(ARG "" "LABEL" "DIRS;LIBS" ${ARGN})
  set(sources)
  foreach(dir ${ARG_DIRS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test GTest::gtest GTest::gmock GTest::gtest_main)
  ammerlin_refresh_moc(${name} "${sources}")
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    AMMERLIN_FIXTURES_DIR="${AMMERLIN_FIXTURES_DIR}"
    AMMERLIN_DATA_DIR="${AMMERLIN_DATA_DIR}"
    AMMERLIN_TESTS_DIR="${CMAKE_SOURCE_DIR}/tests")
  include(GoogleTest)
  set(props ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_LABEL)
    list(APPEND props LABELS ${ARG_LABEL})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ${props})
endfunction()
