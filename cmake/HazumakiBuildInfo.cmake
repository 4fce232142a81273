# One version and one date for everything a build stamps, and nothing of the
# machine or the moment in the programs: two builds of the same sources in
# different folders give the same bytes.

# The date the packages carry: SOURCE_DATE_EPOCH when given, else the commit's time.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(HAZUMAKI_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE HAZUMAKI_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE git_failed)
  if(git_failed OR NOT HAZUMAKI_EPOCH)
    set(HAZUMAKI_EPOCH 1767225600)  # 2026-01-01, for sources outside git
  endif()
endif()
if(NOT HAZUMAKI_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be a number of seconds, not '${HAZUMAKI_EPOCH}'")
endif()

# __FILE__ (the class code's check-failure text) names the file inside the project;
# the linker writes no time stamp.
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>)
add_link_options(-Wl,--no-insert-timestamp)

# The version resources and manifests take the project's version from here.
set(HAZUMAKI_GENERATED ${CMAKE_BINARY_DIR}/generated)
set(HAZUMAKI_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
configure_file(${CMAKE_SOURCE_DIR}/host/res/Hazumaki.scr.manifest ${HAZUMAKI_GENERATED}/Hazumaki.scr.manifest @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/renderer/res/Hazumaki.dll.manifest ${HAZUMAKI_GENERATED}/Hazumaki.dll.manifest @ONLY)
file(CONFIGURE OUTPUT ${HAZUMAKI_GENERATED}/hazumaki_version.h @ONLY CONTENT [[
#define HAZUMAKI_VERSION_COMMA @PROJECT_VERSION_MAJOR@,@PROJECT_VERSION_MINOR@,@PROJECT_VERSION_PATCH@,0
#define HAZUMAKI_VERSION_TEXT "@PROJECT_VERSION@"
#define HAZUMAKI_SCR_MANIFEST "@HAZUMAKI_GENERATED@/Hazumaki.scr.manifest"
#define HAZUMAKI_DLL_MANIFEST "@HAZUMAKI_GENERATED@/Hazumaki.dll.manifest"
]])
include_directories(${HAZUMAKI_GENERATED})

# Called once the programs exist: their resources follow the generated files.
function(hazumaki_version_resources)
  set_property(SOURCE host/res/host.rc DIRECTORY host APPEND PROPERTY OBJECT_DEPENDS
               ${HAZUMAKI_GENERATED}/hazumaki_version.h ${HAZUMAKI_GENERATED}/Hazumaki.scr.manifest)
  set_property(SOURCE renderer/res/renderer.rc DIRECTORY renderer APPEND PROPERTY OBJECT_DEPENDS
               ${HAZUMAKI_GENERATED}/hazumaki_version.h ${HAZUMAKI_GENERATED}/Hazumaki.dll.manifest)
endfunction()
