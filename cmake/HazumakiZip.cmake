# Run by CPack's External generator: packs the staged files into the release ZIP
# in a fixed order with fixed times and modes and no extra fields (owner, access
# time), so the same files always give the same bytes.
set(top ${CPACK_TOPLEVEL_DIRECTORY}/zip)
set(zip ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
file(REMOVE_RECURSE ${top})
file(REMOVE ${zip})
file(COPY ${CPACK_TEMPORARY_DIRECTORY}/ DESTINATION ${top}/${CPACK_PACKAGE_FILE_NAME}
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${top} ${top}/*)
list(SORT files)
execute_process(COMMAND touch -d @${CPACK_HAZUMAKI_EPOCH} ${files} WORKING_DIRECTORY ${top} COMMAND_ERROR_IS_FATAL ANY)
# A ZIP's times are local times: UTC makes them the same everywhere.
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -D -q ${zip} ${files}
                WORKING_DIRECTORY ${top} COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES ${zip})
