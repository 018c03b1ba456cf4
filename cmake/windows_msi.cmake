# The target package-msi: msi/<program>-<version>-x64.msi for every tool's program, each with its SPDX bill of
# materials beside it. packaging/build_msi.py reads the recipe written here (msi/<program>.recipe.json); a test
# builds another version of a tool from the same recipe.
function(ovra_windows_msis)
  get_property(programs GLOBAL PROPERTY OVRA_TOOL_PROGRAMS)
  set(dir ${CMAKE_BINARY_DIR}/msi)
  set(version ${PROJECT_VERSION})
  set(fileVersion ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
  set(msis "")
  foreach(program IN LISTS programs)
    string(REPLACE ":" ";" pair "${program}")
    list(GET pair 0 id)
    list(GET pair 1 target)
    set(name ${OVRA_TOOL_${id}_PROGRAM})
    set(msi ${dir}/${name}-${version}-x64.msi)
    set(recipe ${dir}/${name}.recipe.json)
    file(GENERATE OUTPUT ${recipe} CONTENT "{
  \"id\": ${id},
  \"program\": \"${name}\",
  \"title\": \"${OVRA_TOOL_${id}_TITLE}\",
  \"subtitle\": \"${OVRA_TOOL_${id}_SUBTITLE}\",
  \"version\": \"${version}\",
  \"fileVersion\": \"${fileVersion}\",
  \"exe\": \"$<TARGET_FILE:${target}>\",
  \"notices\": \"${OVRA_NOTICES_FILE}\",
  \"icon\": \"${OVRA_PROGRAM_ICON_FILE}\",
  \"epoch\": ${OVRA_SOURCE_DATE_EPOCH},
  \"out\": \"${msi}\"
}
")
    set(sign "")
    if(OVRA_SIGN_COMMAND)
      set(sign COMMAND ${OVRA_SIGN_COMMAND} ${msi})
    endif()
    ovra_program_sbom_entry(entry ${id} ${target})
    add_custom_command(OUTPUT ${msi} ${msi}.spdx.json
      COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/packaging/build_msi.py ${recipe}
      ${sign}
      COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/packaging/write_spdx.py windows ${msi} ${OVRA_OWN_COPYRIGHT}
              ${OVRA_SOURCE_DATE_EPOCH} ${version} ${entry}
      DEPENDS ${target} ${recipe} ${OVRA_NOTICES_FILE} ${OVRA_PROGRAM_ICON_FILE} ${OVRA_OWN_COPYRIGHT}
              ${PROJECT_SOURCE_DIR}/packaging/build_msi.py ${OVRA_PACKAGING_SCRIPTS}
      COMMENT "Building ${name}-${version}-x64.msi"
      VERBATIM)
    list(APPEND msis ${msi})
  endforeach()
  add_custom_target(package-msi DEPENDS ${msis})
endfunction()
