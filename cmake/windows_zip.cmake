# The target package-windows: every tool's "<title>.exe", a read-me in Chinese and the third-party notices in
# one zip, for copying to Windows as it is, with its SPDX bill of materials beside it; every build of one
# commit writes the same bytes. The read-me is CRLF with a byte-order mark, so every Notepad reads it as UTF-8.
function(ovra_windows_zip)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  get_property(programs GLOBAL PROPERTY OVRA_TOOL_PROGRAMS)
  set(stage ${CMAKE_BINARY_DIR}/package-windows)
  set(readme 使用说明.txt)
  set(OVRA_WINDOWS_TOOL_LINES "")
  set(copies "")
  set(names "")
  set(targets "")
  set(sbom "")
  foreach(program IN LISTS programs)
    string(REPLACE ":" ";" pair "${program}")
    list(GET pair 0 id)
    list(GET pair 1 target)
    set(exe "${OVRA_TOOL_${id}_TITLE}.exe")
    # CR LF here too: NEWLINE_STYLE converts the template's own line ends only.
    string(APPEND OVRA_WINDOWS_TOOL_LINES "  ${exe}（编号 ${id}）：${OVRA_TOOL_${id}_SUBTITLE}\r\n")
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${stage}/${exe})
    list(APPEND names ${exe})
    list(APPEND targets ${target})
    ovra_program_sbom_entry(entry ${id} ${target})
    list(APPEND sbom ${entry})
  endforeach()
  get_filename_component(notices ${OVRA_NOTICES_FILE} NAME)
  list(APPEND names ${readme} ${notices})
  string(REGEX REPLACE "\r\n$" "" OVRA_WINDOWS_TOOL_LINES "${OVRA_WINDOWS_TOOL_LINES}")
  file(READ ${PROJECT_SOURCE_DIR}/packaging/windows-readme.txt.in template)
  string(ASCII 239 187 191 bom)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/packaging/${readme} CONTENT "${bom}${template}" @ONLY
       NEWLINE_STYLE CRLF)

  set(zip ${CMAKE_BINARY_DIR}/OvraMed-${PROJECT_VERSION}-windows-x64.zip)
  add_custom_command(OUTPUT ${zip} ${zip}.spdx.json
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
    ${copies}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/packaging/${readme} ${stage}/${readme}
    COMMAND ${CMAKE_COMMAND} -E copy ${OVRA_NOTICES_FILE} ${stage}/${notices}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/write_zip.py ${zip} ${OVRA_SOURCE_DATE_EPOCH} ${stage}
            ${names}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/packaging/write_spdx.py windows ${zip} ${OVRA_OWN_COPYRIGHT}
            ${OVRA_SOURCE_DATE_EPOCH} ${PROJECT_VERSION} ${sbom}
    DEPENDS ${targets} ${CMAKE_BINARY_DIR}/packaging/${readme} ${PROJECT_SOURCE_DIR}/cmake/write_zip.py
            ${OVRA_NOTICES_FILE} ${OVRA_OWN_COPYRIGHT} ${OVRA_PACKAGING_SCRIPTS}
    COMMENT "Zipping every tool's Windows program with its read-me and notices"
    VERBATIM)
  add_custom_target(package-windows DEPENDS ${zip})
endfunction()
