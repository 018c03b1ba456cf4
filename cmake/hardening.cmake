# Compile and link flags for what hospital IT receives: the stack protector, fortified functions and the
# platform's exploit mitigations, and no trace of the folders the build ran in.
#
# The sanitizer and fuzz builds take none of the hardening: fortify and the stack protector get in the way of
# what the sanitizers watch, and those builds never ship.

# Both trees map to "." in debug information, __FILE__ and the like; the build tree last, since gcc tries the
# last mapping first and the build tree may lie inside the source tree. The sources written from the family
# table map there too, so they read as the files they stand for and the programs keep their bytes.
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>
                    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=.>
                    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${OVRA_GENERATED_DIR}=.>)

# Fortify works only where the compiler optimises.
set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)

if(WIN32)
  # libssp, which the checks call, is linked in statically with the rest of the runtime.
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fstack-protector-strong>)
  add_compile_definitions($<$<AND:$<COMPILE_LANGUAGE:CXX>,${optimised}>:_FORTIFY_SOURCE=2>)
  add_link_options(-fstack-protector-strong LINKER:--dynamicbase LINKER:--nxcompat LINKER:--high-entropy-va
                   LINKER:--tsaware)
  return()
endif()
if(OVRA_SANITIZE OR OVRA_FUZZ)
  return()
endif()

# Debian's own set where its tool is at hand, else the same flags as dpkg-buildflags gives on Debian 12.
# Optimisation and debug information stay with the build type; the tool's path mapping names its own folder.
find_program(OVRA_DPKG_BUILDFLAGS dpkg-buildflags)
mark_as_advanced(OVRA_DPKG_BUILDFLAGS)
if(OVRA_DPKG_BUILDFLAGS)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${OVRA_DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g.*|O.*|ffile-prefix-map=.*|fdebug-prefix-map=.*)$")
    set(debian_${kind} ${flags})
  endforeach()
else()
  set(debian_CPPFLAGS -Wdate-time -D_FORTIFY_SOURCE=2)
  set(debian_CXXFLAGS -fstack-protector-strong -Wformat -Werror=format-security)
  set(debian_LDFLAGS -Wl,-z,relro -Wl,-z,now)
endif()
message(STATUS "Hardening: ${debian_CPPFLAGS} ${debian_CXXFLAGS} ${debian_LDFLAGS}")

foreach(flag IN LISTS debian_CPPFLAGS)
  if(flag MATCHES "^-D_FORTIFY_SOURCE")
    add_compile_options($<${optimised}:${flag}>)
  else()
    add_compile_options(${flag})
  endif()
endforeach()
add_compile_options(${debian_CXXFLAGS} -fstack-clash-protection -fcf-protection)
add_link_options(${debian_LDFLAGS})
