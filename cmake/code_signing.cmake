# Authenticode signatures for every program and MSI, when a distributor names a certificate:
#   -DOVRA_SIGN_PKCS12=<file.p12> -DOVRA_SIGN_PASSWORD_FILE=<file> [-DOVRA_SIGN_TIMESTAMP_URL=<url>]
# Without a certificate nothing is signed. OVRA_SIGN_COMMAND, followed by a file, signs that file in place.
set(OVRA_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file with the code-signing certificate and key; empty: no signing")
set(OVRA_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File whose first line is the PKCS#12 file's password")
set(OVRA_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server to count-sign with; empty: none")

set(OVRA_SIGN_COMMAND "")
if(OVRA_SIGN_PKCS12)
  foreach(file OVRA_SIGN_PKCS12 OVRA_SIGN_PASSWORD_FILE)
    if(NOT ${file} OR NOT EXISTS "${${file}}")
      message(FATAL_ERROR "Signing needs ${file}: '${${file}}' is not a file")
    endif()
  endforeach()
  find_program(OVRA_OSSLSIGNCODE osslsigncode REQUIRED)
  # Signed at the source date, so a build without a time-stamp server signs the same bytes every time.
  set(OVRA_SIGN_COMMAND sh ${PROJECT_SOURCE_DIR}/packaging/sign_file.sh ${OVRA_OSSLSIGNCODE} ${OVRA_SIGN_PKCS12}
                        ${OVRA_SIGN_PASSWORD_FILE} ${OVRA_SOURCE_DATE_EPOCH} "timestamp=${OVRA_SIGN_TIMESTAMP_URL}")
  message(STATUS "Signing every program and MSI with ${OVRA_SIGN_PKCS12}")
endif()
