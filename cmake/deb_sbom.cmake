# Run by CPack once it has made the packages: the SPDX bill of materials <package>.deb.spdx.json beside each
# .deb, naming its SHA-256 and the packages of its Depends line (packaging/write_spdx.py). CPack hands over the
# packages in its staging folder before it copies them out, so the documents are copied out here.
foreach(file IN LISTS CPACK_PACKAGE_FILES)
  if(file MATCHES "\\.deb$")
    execute_process(COMMAND ${CPACK_OVRA_PYTHON} ${CPACK_OVRA_WRITE_SPDX} deb ${file} ${CPACK_OVRA_SOURCE_DATE_EPOCH}
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "No SPDX document for ${file}")
    endif()
    get_filename_component(name ${file} NAME)
    file(COPY_FILE ${file}.spdx.json ${CPACK_PACKAGE_DIRECTORY}/${name}.spdx.json)
  endif()
endforeach()
