# cmake -DBUILD_DIR=... -DMANIFEST=... -P CheckInstall.cmake
# Installs the build into a scratch DESTDIR under /usr, compares the files
# with the manifest, then plays a match from the installed programs and samples.
set(root ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${root})
set(ENV{DESTDIR} ${root})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
                OUTPUT_QUIET RESULT_VARIABLE status)
if(status)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
list(TRANSFORM installed PREPEND /)
list(SORT installed)
file(STRINGS ${MANIFEST} expected)
list(SORT expected)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " installed "${installed}")
  message(FATAL_ERROR "installed files differ from ${MANIFEST}:\n  ${installed}")
endif()

set(samples ${root}/usr/share/pelmora/samples)
# The charts also show that the installed runner finds its installed module.
execute_process(COMMAND ${root}/usr/games/pelmora-cli /t1=${samples}/northshire.xi /t2=${samples}/southmoor.xi /r=3
                        --charts=${root}
                OUTPUT_VARIABLE report ERROR_VARIABLE errors RESULT_VARIABLE status)
if(status OR NOT report MATCHES "Northshire" OR NOT EXISTS ${root}/worm.png)
  message(FATAL_ERROR "the installed pelmora-cli did not play the installed samples: ${status} ${errors}")
endif()
execute_process(COMMAND ${root}/usr/games/pelmora --version OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(status OR NOT version STREQUAL "pelmora ${VERSION}\n")
  message(FATAL_ERROR "pelmora --version printed \"${version}\" (${status})")
endif()
