# One tool's Windows program: a single statically linked file named after the tool's title, with the
# program icon, a version record and a manifest.
#
#   ovra_windows_program(<target> TITLE <title> [SOURCES <files...>] [LIBRARIES <targets...>])
#
# The version comes from the project (1.0.0 gives 1.0.0.0 in the record and "V1.0" in the description).
enable_language(RC)
set(OVRA_WINDOWS_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/../ui/win32)

# Linked into every Windows program and the yardsticks it is measured against: the stack protector's guard
# seeded without libssp's start-up cost.
add_library(ovra_stack_guard OBJECT ${PROJECT_SOURCE_DIR}/entry/stack_guard_windows.cpp)
target_compile_options(ovra_stack_guard PRIVATE -fno-stack-protector)
target_link_libraries(ovra_stack_guard PRIVATE ovra_warnings)

function(ovra_windows_program target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TITLE" "SOURCES;LIBRARIES")
  if(NOT arg_TITLE)
    message(FATAL_ERROR "ovra_windows_program(${target}) needs a TITLE")
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
  target_link_libraries(${target} PRIVATE ${arg_LIBRARIES} ovra_stack_guard ovra_warnings)
  # One file that needs nothing but the system's own DLLs, without symbols.
  target_link_options(${target} PRIVATE -municode -static -static-libgcc -static-libstdc++ -s)
  # The linker's map names every archive member it pulled in: the third-party notices are read from it.
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  target_link_options(${target} PRIVATE -Wl,-Map=${map})
  set_property(TARGET ${target} PROPERTY OVRA_LINKER_MAP ${map})
  if(OVRA_SIGN_COMMAND)
    # Signed as soon as it is linked, so whatever packs it (the zip, its MSI) packs the signed file.
    add_custom_command(TARGET ${target} POST_BUILD COMMAND ${OVRA_SIGN_COMMAND} $<TARGET_FILE:${target}> VERBATIM)
  endif()
  set_target_properties(${target} PROPERTIES OUTPUT_NAME "${arg_TITLE}")
endfunction()

# ovra_delay_loaded_library(<dll base name>): the target ovra_delay_<name>, an import library that loads the
# DLL at the first call into it instead of at start, so the self-test never pays for the window's DLLs. Made
# from the toolchain's own import library, so it names every function that one does.
function(ovra_delay_loaded_library name)
  set(prefix ${OVRA_MINGW_PREFIX})
  find_program(OVRA_NM ${prefix}-nm REQUIRED)
  find_program(OVRA_DLLTOOL ${prefix}-dlltool REQUIRED)
  find_file(import_library lib${name}.a PATHS ${CMAKE_FIND_ROOT_PATH}/lib NO_DEFAULT_PATH REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delay_load)
  add_custom_command(
    OUTPUT ${dir}/lib${name}_delay.a
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND sh -c "{ echo 'LIBRARY ${name}.dll'; echo EXPORTS; '${OVRA_NM}' -g --defined-only '${import_library}' 2>/dev/null | sed -n 's/.* I __imp_//p' | sort -u; } > '${dir}/${name}.def'"
    COMMAND ${OVRA_DLLTOOL} --input-def ${dir}/${name}.def --dllname ${name}.dll --output-delaylib ${dir}/lib${name}_delay.a
    DEPENDS ${import_library}
    VERBATIM)
  add_custom_target(ovra_delay_${name}_library DEPENDS ${dir}/lib${name}_delay.a)
  add_library(ovra_delay_${name} INTERFACE)
  target_link_libraries(ovra_delay_${name} INTERFACE ${dir}/lib${name}_delay.a)
  add_dependencies(ovra_delay_${name} ovra_delay_${name}_library)
  unset(import_library CACHE)
endfunction()
