# What the Windows programs carry from others: THIRD-PARTY-NOTICES.txt for the zip and every MSI, written from
# the linker maps of every tool's program and the copyright files of the Debian packages they name, and the
# SPDX bill of materials beside each artefact (packaging/write_spdx.py).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(OVRA_NOTICES_FILE ${CMAKE_BINARY_DIR}/packaging/THIRD-PARTY-NOTICES.txt)
set(OVRA_OWN_COPYRIGHT ${PROJECT_SOURCE_DIR}/packaging/copyright.in)
set(OVRA_PACKAGING_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/debian_components.py
    ${PROJECT_SOURCE_DIR}/packaging/write_notices.py ${PROJECT_SOURCE_DIR}/packaging/write_spdx.py)

# ovra_program_sbom_entry(<out> <id> <target>): "<name inside the artefact>=<program file>=<its map>", the
# argument by which write_spdx.py reads one program.
function(ovra_program_sbom_entry out id target)
  get_property(map TARGET ${target} PROPERTY OVRA_LINKER_MAP)
  set(${out} "${OVRA_TOOL_${id}_TITLE}.exe=$<TARGET_FILE:${target}>=${map}" PARENT_SCOPE)
endfunction()

function(ovra_third_party_notices)
  get_property(programs GLOBAL PROPERTY OVRA_TOOL_PROGRAMS)
  set(maps "")
  set(targets "")
  foreach(program IN LISTS programs)
    string(REPLACE ":" ";" pair "${program}")
    list(GET pair 1 target)
    get_property(map TARGET ${target} PROPERTY OVRA_LINKER_MAP)
    list(APPEND maps ${map})
    list(APPEND targets ${target})
  endforeach()
  add_custom_command(OUTPUT ${OVRA_NOTICES_FILE}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/packaging/write_notices.py ${OVRA_NOTICES_FILE} ${maps}
    DEPENDS ${targets} ${OVRA_PACKAGING_SCRIPTS}
    COMMENT "Writing the third-party notices from the linker maps"
    VERBATIM)
  add_custom_target(ovra_third_party_notices DEPENDS ${OVRA_NOTICES_FILE})
endfunction()
