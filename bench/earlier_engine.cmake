# The engine as of an earlier commit, for pelmora-bench to play beside the
# current one in the same process: git extracts that commit's core folders
# into the build folder, and they are built with earlier_engine_shim.cpp
# into a module that exports only the entry points of engine_entry_points.h
# (everything else hidden, loaded RTLD_LOCAL), so the two engines' classes
# never meet. Without git or without the commit (a shallow clone, a source
# archive) the benchmark is built without the comparison.
#
# Sets PELMORA_EARLIER_ENGINE_MODULE to the module's target when it is built.

# The main line just before the engine's last speed work was merged.
set(PELMORA_EARLIER_ENGINE_COMMIT 8e5dcd1b164bfbd8fffcdc0edab668deb6e372d5
    CACHE STRING "Commit whose engine pelmora-bench compares with the current one")
set(PELMORA_EARLIER_ENGINE_MODULE "")

function(pelmora_earlier_engine_skipped why)
  message(STATUS "pelmora-bench: ${why}: built without the earlier engine (no BM_Earlier/BM_Current)")
endfunction()

find_package(Git QUIET)
if(NOT GIT_FOUND)
  pelmora_earlier_engine_skipped("git not found")
  return()
endif()
set(commit ${PELMORA_EARLIER_ENGINE_COMMIT})
execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} rev-parse --verify --quiet "${commit}^{commit}"
                RESULT_VARIABLE found OUTPUT_QUIET ERROR_QUIET)
if(NOT found EQUAL 0)
  pelmora_earlier_engine_skipped("commit ${commit} is not to be had here (a shallow clone, or sources outside git)")
  return()
endif()

set(folders teams engine match presentation resources)
set(root ${CMAKE_CURRENT_BINARY_DIR}/earlier-engine)
set(stamp ${root}/extracted-from)
set(extracted "")
if(EXISTS ${stamp})
  file(READ ${stamp} extracted)
endif()
# Extracted again only for another commit, so a configure does not rebuild it.
if(NOT extracted STREQUAL commit)
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  set(archive ${CMAKE_CURRENT_BINARY_DIR}/earlier-engine.tar)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} archive --format=tar -o ${archive} ${commit}
                          -- ${folders}
                  RESULT_VARIABLE archived ERROR_VARIABLE why)
  if(NOT archived EQUAL 0)
    string(STRIP "${why}" why)
    pelmora_earlier_engine_skipped("git archive ${commit} failed (${why})")
    return()
  endif()
  file(ARCHIVE_EXTRACT INPUT ${archive} DESTINATION ${root})
  file(REMOVE ${archive})
  file(WRITE ${stamp} ${commit})
endif()

set(sources "")
foreach(folder ${folders})
  file(GLOB found_sources ${root}/${folder}/*.cpp)
  list(APPEND sources ${found_sources})
endforeach()

# Built on request only (cmake --build build --target pelmora_earlier_engine),
# so the everyday build and CI do not compile a second engine.
add_library(pelmora_earlier_engine MODULE EXCLUDE_FROM_ALL earlier_engine_shim.cpp ${sources})
target_include_directories(pelmora_earlier_engine PRIVATE ${root})
set_target_properties(pelmora_earlier_engine PROPERTIES
  OUTPUT_NAME pelmora-earlier-engine PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
# None but the entry points exported, not even the library templates it instantiates.
target_link_options(pelmora_earlier_engine PRIVATE LINKER:--version-script=${CMAKE_CURRENT_SOURCE_DIR}/earlier_engine.map)
set_property(TARGET pelmora_earlier_engine APPEND PROPERTY LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/earlier_engine.map)
message(STATUS "pelmora-bench: the earlier engine is ${commit}")
set(PELMORA_EARLIER_ENGINE_MODULE pelmora_earlier_engine)
