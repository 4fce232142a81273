# Builds the installer (cmake -P): the files in FILES (both programs, the setup
# action, the read-me and the icon) as version VERSION into OUTPUT, with the times
# of EPOCH, signed when CERT is given. The build's own call is the recipe
# package/msi.cmake in the build tree, which fills in every variable not given.
include(${CMAKE_CURRENT_LIST_DIR}/HazumakiSign.cmake)

# One product code per version, the same in every build of it.
string(UUID product NAMESPACE 3F6A9D24-8B1C-4E7F-A5D2-9C0E6B4F1A87 NAME "Hazumaki ${VERSION}" TYPE SHA1 UPPER)

# Fixed file times: the cabinet inside the package records them.
set(stage ${OUTPUT}.files)
file(REMOVE_RECURSE ${stage})
file(COPY ${FILES}/ DESTINATION ${stage})
file(GLOB staged ${stage}/*)
execute_process(COMMAND touch -d @${EPOCH} ${staged} COMMAND_ERROR_IS_FATAL ANY)

# wixl takes the files' paths relative to the folder it runs in.
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${WIXL} -a x64 -D Version=${VERSION} -D ProductCode=${product}
                        -D Files=. -o ${OUTPUT}.tmp ${WXS} WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${PYTHON} ${STAMP} ${OUTPUT}.tmp ${EPOCH} COMMAND_ERROR_IS_FATAL ANY)
hazumaki_sign(${OUTPUT}.tmp)
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
file(REMOVE_RECURSE ${stage})
