# cmake -DSOURCE=<package folder> -DDESTINATION=<folder> -P InstallPlayer.cmake
# Replaces DESTINATION with the player's run-time files: scripts, WebAssembly, licences.
file(REMOVE_RECURSE ${DESTINATION})
file(MAKE_DIRECTORY ${DESTINATION})
file(GLOB files ${SOURCE}/*.js ${SOURCE}/*.wasm ${SOURCE}/LICENSE* ${SOURCE}/package.json)
if(NOT files)
  message(FATAL_ERROR "no player files in ${SOURCE}")
endif()
file(COPY ${files} DESTINATION ${DESTINATION})
