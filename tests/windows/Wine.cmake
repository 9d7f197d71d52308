# Under Wine: CTest runs every Windows test program through wine-run, in a Wine prefix of the
# build's own, with the DLLs' folders on Wine's search path (drive Z: is this machine's root).
set(dll_folders $<TARGET_FILE_DIR:Qt6::Core> $<TARGET_FILE_DIR:SDL2::SDL2> $<TARGET_FILE_DIR:SDL2_mixer::SDL2_mixer>)
foreach(dll ${TONOVKA_MINGW_RUNTIME})
    get_filename_component(folder ${dll} DIRECTORY)
    list(APPEND dll_folders ${folder})
endforeach()
list(REMOVE_DUPLICATES dll_folders)
list(TRANSFORM dll_folders PREPEND Z:)
list(JOIN dll_folders ";" WINE_PATH)
set(WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix)
# Wine keeps QT_* from the Windows programs; this sets them inside.
add_executable(with-environment ${CMAKE_CURRENT_LIST_DIR}/with-environment.cpp)
target_link_options(with-environment PRIVATE -municode -static)
set(WITH_ENVIRONMENT $<TARGET_FILE:with-environment>)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${PROJECT_BINARY_DIR}/wine-run.configured @ONLY)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/wine-run INPUT ${PROJECT_BINARY_DIR}/wine-run.configured
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run)

# The stand-in fonts for the screens on the offscreen platform, as the game has them beside it.
set(TONOVKA_TEST_FONTS ${PROJECT_BINARY_DIR}/test-fonts)
file(COPY ${TONOVKA_BUNDLED_FONTS} DESTINATION ${TONOVKA_TEST_FONTS})
