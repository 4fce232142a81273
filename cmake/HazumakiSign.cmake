# Authenticode signatures with osslsigncode, for the release files.
#
# hazumaki_sign(FILE...) signs each file in place with the certificate CERT and the
# private key KEY (PEM or DER files); with no CERT it leaves them unsigned. The key's
# passphrase, if any, comes from the environment at build time (HAZUMAKI_SIGN_PASSWORD),
# so it is never stored in the build tree; HAZUMAKI_SIGN_TIMESTAMP names an RFC 3161
# time-stamp server to countersign with.
#
# As a script: cmake -DCERT=... -DKEY=... -DFILES="a;b" -P HazumakiSign.cmake
function(hazumaki_sign)
  if(NOT CERT)
    return()
  endif()
  find_program(OSSLSIGNCODE osslsigncode REQUIRED)
  set(options -certs ${CERT} -key ${KEY} -h sha256 -n Hazumaki)
  if(DEFINED ENV{HAZUMAKI_SIGN_PASSWORD})
    # From a file, so that the passphrase does not show in the process list.
    string(RANDOM LENGTH 12 tag)
    set(pass_file ${CMAKE_CURRENT_BINARY_DIR}/.sign-${tag})
    file(WRITE ${pass_file} "")
    file(CHMOD ${pass_file} PERMISSIONS OWNER_READ OWNER_WRITE)
    file(APPEND ${pass_file} "$ENV{HAZUMAKI_SIGN_PASSWORD}")
    list(APPEND options -readpass ${pass_file})
  endif()
  if(DEFINED ENV{HAZUMAKI_SIGN_TIMESTAMP})
    list(APPEND options -ts $ENV{HAZUMAKI_SIGN_TIMESTAMP})
  endif()
  foreach(file IN LISTS ARGN)
    file(REMOVE ${file}.signed)
    execute_process(COMMAND ${OSSLSIGNCODE} sign ${options} -in ${file} -out ${file}.signed
                    OUTPUT_QUIET RESULT_VARIABLE failed)
    if(failed)
      file(REMOVE ${file}.signed ${pass_file})
      message(FATAL_ERROR "signing ${file} failed")
    endif()
    file(RENAME ${file}.signed ${file})
  endforeach()
  if(pass_file)
    file(REMOVE ${pass_file})
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  hazumaki_sign(${FILES})
endif()
