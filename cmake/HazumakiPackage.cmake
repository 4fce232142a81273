# The releases: the per-user installer (built with the programs) and a ZIP of the
# two programs and the read-me (the package step). Both are made from release/,
# where the programs are copied and, when a certificate is given, signed:
#
#   HAZUMAKI_SIGN_CERT  certificate file (PEM or DER), read when configuring
#   HAZUMAKI_SIGN_KEY   its private key file (PEM or DER), read when configuring
#   HAZUMAKI_SIGN_PASSWORD, HAZUMAKI_SIGN_TIMESTAMP  optional, read when building
#
# Without them everything is built unsigned.
find_program(HAZUMAKI_WIXL wixl REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The installer's helper for what its tables cannot say (choosing the saver, cleaning up).
add_executable(hazumaki_setup WIN32 ${CMAKE_SOURCE_DIR}/packaging/setup_action.cpp)
target_link_libraries(hazumaki_setup PRIVATE msi shell32 advapi32 user32)
set_target_properties(hazumaki_setup PROPERTIES OUTPUT_NAME HazumakiSetup RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
hazumaki_warnings(hazumaki_setup)
hazumaki_windows_program(hazumaki_setup)

set(sign_cert "")
set(sign_key "")
if(DEFINED ENV{HAZUMAKI_SIGN_CERT} OR DEFINED ENV{HAZUMAKI_SIGN_KEY})
  foreach(part CERT KEY)
    if(NOT EXISTS "$ENV{HAZUMAKI_SIGN_${part}}")
      message(FATAL_ERROR "HAZUMAKI_SIGN_CERT and HAZUMAKI_SIGN_KEY must both name files to sign with")
    endif()
  endforeach()
  file(REAL_PATH "$ENV{HAZUMAKI_SIGN_CERT}" sign_cert)
  file(REAL_PATH "$ENV{HAZUMAKI_SIGN_KEY}" sign_key)
  message(STATUS "Release files are signed with ${sign_cert}")
endif()
# Rewritten only when it changes, so that signing on or off rebuilds the release files.
set(release ${CMAKE_BINARY_DIR}/release)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/signing.txt CONTENT "${sign_cert}\n${sign_key}\n")

configure_file(${CMAKE_SOURCE_DIR}/packaging/README.txt ${release}/README.txt @ONLY NEWLINE_STYLE CRLF)
set(programs ${release}/Hazumaki.scr ${release}/Hazumaki.dll ${release}/HazumakiSetup.exe)
add_custom_command(
  OUTPUT ${programs}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:hazumaki_scr> $<TARGET_FILE:hazumaki_dll>
          $<TARGET_FILE:hazumaki_setup> ${release}
  COMMAND ${CMAKE_COMMAND} "-DFILES=${programs}" -DCERT=${sign_cert} -DKEY=${sign_key}
          -P ${CMAKE_SOURCE_DIR}/cmake/HazumakiSign.cmake
  DEPENDS hazumaki_scr hazumaki_dll hazumaki_setup ${CMAKE_BINARY_DIR}/signing.txt ${sign_cert} ${sign_key}
  COMMENT "Release copies of the programs"
  VERBATIM)
add_custom_command(
  OUTPUT ${release}/hazumaki.ico
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/host/res/hazumaki.ico ${release}
  DEPENDS ${CMAKE_SOURCE_DIR}/host/res/hazumaki.ico)

set(package ${CMAKE_BINARY_DIR}/package)
set(msi ${package}/Hazumaki-${PROJECT_VERSION}-x64.msi)
file(MAKE_DIRECTORY ${package})
# The recipe the build follows; a test calls it with another VERSION and OUTPUT.
file(CONFIGURE OUTPUT ${package}/msi.cmake @ONLY CONTENT [[
macro(default name value)
  if(NOT DEFINED ${name})
    set(${name} "${value}")
  endif()
endmacro()
default(VERSION "@PROJECT_VERSION@")
default(OUTPUT "@msi@")
default(FILES "@release@")
default(EPOCH "@HAZUMAKI_EPOCH@")
default(CERT "@sign_cert@")
default(KEY "@sign_key@")
default(WIXL "@HAZUMAKI_WIXL@")
default(PYTHON "@Python3_EXECUTABLE@")
default(WXS "@CMAKE_SOURCE_DIR@/packaging/Hazumaki.wxs")
default(STAMP "@CMAKE_SOURCE_DIR@/packaging/msi_stamp.py")
include(@CMAKE_SOURCE_DIR@/cmake/HazumakiMsi.cmake)
]])
add_custom_command(
  OUTPUT ${msi}
  COMMAND ${CMAKE_COMMAND} -P ${package}/msi.cmake
  DEPENDS ${programs} ${release}/README.txt ${release}/hazumaki.ico ${package}/msi.cmake
          ${CMAKE_SOURCE_DIR}/packaging/Hazumaki.wxs ${CMAKE_SOURCE_DIR}/packaging/msi_stamp.py
          ${CMAKE_SOURCE_DIR}/cmake/HazumakiMsi.cmake ${CMAKE_SOURCE_DIR}/cmake/HazumakiSign.cmake
  COMMENT "Installer ${msi}"
  VERBATIM)
add_custom_target(hazumaki_msi ALL DEPENDS ${msi})

# The ZIP: CPack stages the files, our script packs them with fixed times and order.
install(FILES ${release}/Hazumaki.scr ${release}/Hazumaki.dll ${release}/README.txt DESTINATION .)
set(CPACK_GENERATOR External)
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${CMAKE_SOURCE_DIR}/cmake/HazumakiZip.cmake)
set(CPACK_HAZUMAKI_EPOCH ${HAZUMAKI_EPOCH})
set(CPACK_PACKAGE_NAME Hazumaki)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Hazumaki-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${package})
include(CPack)
