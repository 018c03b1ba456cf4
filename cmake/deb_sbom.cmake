# Run by CPack once it has made the packages: the SPDX bill of materials <package>.deb.spdx.json beside each
# .deb, naming its SHA-256 and the packages of its Depends line (packaging/write_spdx.py).
foreach(file IN LISTS CPACK_PACKAGE_FILES)
  if(file MATCHES "\\.deb$")
    execute_process(COMMAND ${CPACK_OVRA_PYTHON} ${CPACK_OVRA_WRITE_SPDX} deb ${file} ${CPACK_OVRA_SOURCE_DATE_EPOCH}
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "No SPDX document for ${file}")
    endif()
  endif()
endforeach()
