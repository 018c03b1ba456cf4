# Install rules and a Debian package per tool of OVRA_TOOL_TABLE: the program, the window module, a desktop
# entry, the icon at every size and an AppStream record. Each package carries its own copy of the module below
# lib/ovra/<program>/ (where the program looks for it) so that two tools' packages never own the same file.
include(GNUInstallDirs)

set(OVRA_ICON_SIZES 16 24 32 48 64 128 256)

# The program icon as <size>.png files, drawn at build time by the code that draws it in the window.
function(ovra_icon_pngs folder)
  set(pngs "")
  foreach(size IN LISTS OVRA_ICON_SIZES)
    list(APPEND pngs ${folder}/${size}.png)
  endforeach()
  list(JOIN OVRA_ICON_SIZES "," sizes)
  add_custom_command(OUTPUT ${pngs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND program_icon_files --sizes ${sizes} --png-folder ${folder}
    DEPENDS program_icon_files VERBATIM)
  add_custom_target(ovra_icon_pngs ALL DEPENDS ${pngs})
endfunction()

# ovra_package_tool(ID id [ICONS folder-of-<size>.png]); call from the top-level scope, which receives the
# package's CPack settings. The package is named after the program.
function(ovra_package_tool)
  cmake_parse_arguments(T "" "ID;ICONS" "" ${ARGN})
  set(TOOL_PROGRAM ${OVRA_TOOL_${T_ID}_PROGRAM})
  set(TOOL_PACKAGE ${TOOL_PROGRAM})
  set(TOOL_TITLE ${OVRA_TOOL_${T_ID}_TITLE})
  set(TOOL_SUBTITLE ${OVRA_TOOL_${T_ID}_SUBTITLE})
  set(TOOL_SUMMARY ${OVRA_TOOL_${T_ID}_SUMMARY})
  set(TOOL_APP_ID "example.ovramed.tool${T_ID}")
  string(TOUPPER ${TOOL_PROGRAM} TOOL_PROGRAM_UPPER)
  set(TOOL_ID_3 ${T_ID})
  string(LENGTH "${T_ID}" idLength)
  if(idLength LESS 3)
    math(EXPR padLength "3 - ${idLength}")
    string(REPEAT 0 ${padLength} pad)
    set(TOOL_ID_3 ${pad}${TOOL_ID_3})
  endif()
  set(component tool${T_ID})
  string(TOUPPER ${component} upper)
  set(out ${CMAKE_BINARY_DIR}/packaging/${TOOL_PACKAGE})

  configure_file(${PROJECT_SOURCE_DIR}/packaging/tool.desktop.in ${out}/${TOOL_APP_ID}.desktop @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/tool.metainfo.xml.in ${out}/${TOOL_APP_ID}.metainfo.xml @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${out}/copyright @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${out}/changelog @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/program.1.in ${out}/${TOOL_PROGRAM}.1 @ONLY)
  foreach(doc changelog ${TOOL_PROGRAM}.1)
    add_custom_command(OUTPUT ${out}/${doc}.gz
      COMMAND gzip -n -9 -c ${out}/${doc} > ${out}/${doc}.gz
      DEPENDS ${out}/${doc} VERBATIM)
  endforeach()
  add_custom_target(${component}_package_files ALL DEPENDS ${out}/changelog.gz ${out}/${TOOL_PROGRAM}.1.gz)

  install(TARGETS ${TOOL_PROGRAM} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
  if(TARGET ovra_window)
    # Below a folder of our own, so the package holds no library for the dynamic linker's cache.
    install(TARGETS ovra_window LIBRARY DESTINATION lib/ovra/${TOOL_PROGRAM} COMPONENT ${component})
  endif()
  # As Debian's own packaging does: the compilers' version strings and empty notes go, once stripped.
  set(binaries ${CMAKE_INSTALL_BINDIR}/${TOOL_PROGRAM})
  if(TARGET ovra_window)
    list(APPEND binaries lib/ovra/${TOOL_PROGRAM}/ovra_window.so)
  endif()
  install(CODE "
    foreach(file ${binaries})
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${file}\" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()" COMPONENT ${component})
  install(FILES ${out}/${TOOL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT ${component})
  install(FILES ${out}/${TOOL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          COMPONENT ${component})
  install(FILES ${out}/${TOOL_PROGRAM}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
  install(FILES ${out}/copyright ${out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${TOOL_PACKAGE}
          COMPONENT ${component})
  if(T_ICONS)
    foreach(size IN LISTS OVRA_ICON_SIZES)
      install(FILES ${T_ICONS}/${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
              RENAME ${TOOL_APP_ID}.png COMPONENT ${component})
    endforeach()
  endif()

  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${TOOL_PACKAGE} PARENT_SCOPE)
  set(CPACK_DEBIAN_${upper}_FILE_NAME DEB-DEFAULT PARENT_SCOPE)
  set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION science PARENT_SCOPE)
  # The X11 platform plugin the window opens on is only recommended by the Qt libraries themselves.
  if(TARGET ovra_window)
    set(CPACK_DEBIAN_${upper}_PACKAGE_DEPENDS qt6-qpa-plugins PARENT_SCOPE)
  endif()
  set(CPACK_DEBIAN_${upper}_DESCRIPTION
      "clinical calculator: ${TOOL_SUMMARY}\n${TOOL_TITLE}：${TOOL_SUBTITLE}。\n\nA small desktop calculator for hospital staff that carries one clinical tool:\ntype the values, press F5 or Enter, read the result and its verdict, copy\nit or append it to a per-tool CSV log in the user's data folder. The switch\n--selftest checks the installed program without a display.\n\n供医院临床人员使用的小型桌面计算工具：填写参数后按 F5 或回车查看结果与\n判读，可复制结果或追加保存到本地 CSV 记录；--selftest 开关可在无显示\n环境下自检。"
      PARENT_SCOPE)
  set_property(GLOBAL APPEND PROPERTY OVRA_PACKAGED_TOOLS ${component})
endfunction()

# After every tool: one .deb per component, dependencies computed from the shared libraries, each with its SPDX
# document beside it.
macro(ovra_configure_packages)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  get_property(CPACK_COMPONENTS_ALL GLOBAL PROPERTY OVRA_PACKAGED_TOOLS)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_VENDOR OvraMed)
  set(CPACK_PACKAGE_CONTACT "OvraMed Clinical Tools <tools@ovramed.example>")
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "OvraMed Clinical Tools <tools@ovramed.example>")
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.ovramed.example/")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Qt's own Chinese texts for the buttons of its message boxes; without them they read in English.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(CPACK_OVRA_PYTHON ${Python3_EXECUTABLE})
  set(CPACK_OVRA_WRITE_SPDX ${PROJECT_SOURCE_DIR}/packaging/write_spdx.py)
  set(CPACK_OVRA_SOURCE_DATE_EPOCH ${OVRA_SOURCE_DATE_EPOCH})
  set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_sbom.cmake)
  include(CPack)
endmacro()
