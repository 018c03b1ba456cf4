# One tool's Windows program: a single statically linked file named after the tool's title, with the
# program icon, a version record and a manifest.
#
#   ovra_windows_program(<target> TITLE <title> SOURCES <files...> [LIBRARIES <targets...>])
#
# The version comes from the project (1.0.0 gives 1.0.0.0 in the record and "V1.0" in the description).
enable_language(RC)
set(OVRA_WINDOWS_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/../ui/win32)

function(ovra_windows_program target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TITLE" "SOURCES;LIBRARIES")
  if(NOT arg_TITLE OR NOT arg_SOURCES)
    message(FATAL_ERROR "ovra_windows_program(${target}) needs TITLE and SOURCES")
  endif()
  set(OVRA_TARGET ${target})
  set(OVRA_TITLE "${arg_TITLE}")
  set(OVRA_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
  set(OVRA_SHORT_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
  string(REPLACE "." "," OVRA_VERSION_COMMAS ${OVRA_VERSION})
  set(OVRA_MANIFEST_FILE ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  set(OVRA_ICON_FILE ${OVRA_PROGRAM_ICON_FILE})
  configure_file(${OVRA_WINDOWS_RESOURCES}/program.manifest.in ${OVRA_MANIFEST_FILE} @ONLY)
  configure_file(${OVRA_WINDOWS_RESOURCES}/program.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES
    OBJECT_DEPENDS "${OVRA_PROGRAM_ICON_FILE};${OVRA_MANIFEST_FILE}")

  add_executable(${target} WIN32 ${arg_SOURCES} ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  add_dependencies(${target} ovra_program_icon)
  target_link_libraries(${target} PRIVATE ${arg_LIBRARIES} ovra_warnings)
  # One file that needs nothing but the system's own DLLs, without symbols.
  target_link_options(${target} PRIVATE -municode -static -static-libgcc -static-libstdc++ -s)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME "${arg_TITLE}")
endfunction()
