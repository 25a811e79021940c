# The Windows build's programs run under Wine on the Linux machine that built them: the tests
# through CTest, and the icon step of the build. They run through one script, wine-run in the
# build folder, which every target gets as its CROSSCOMPILING_EMULATOR. It finds the DLLs the
# programs load (the compiler's runtime and, in a build with windows, Qt's) and keeps a Wine
# prefix of the build's own.

set(dll_folders "")
foreach(dll IN LISTS TESS_MINGW_RUNTIME_DLLS)
    get_filename_component(folder "${dll}" DIRECTORY)
    list(APPEND dll_folders "${folder}")
endforeach()
if(TESSALUMA_WIDGETS)
    list(APPEND dll_folders "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
endif()
list(REMOVE_DUPLICATES dll_folders)

# Wine's drive Z: is the Linux root, so /a/b is Z:\a\b to a Windows program.
set(TESS_WINE_PATH "")
foreach(folder IN LISTS dll_folders)
    string(REPLACE "/" "\\" folder "Z:${folder}")
    string(APPEND TESS_WINE_PATH "${folder};")
endforeach()

# Wine's own fonts (Tahoma, MS Sans Serif...), which Debian's Wine does not find by itself: the
# runner puts them in the prefix's fonts folder, where Windows keeps them, and points Qt's
# offscreen platform at them (on Windows it finds fonts only in QT_QPA_FONTDIR).
find_path(TESS_WINE_FONTS tahoma.ttf PATHS /usr/share/wine/fonts NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH)
set(TESS_WINE_FONT_DIR "")
if(TESS_WINE_FONTS)
    string(REPLACE "/" "\\" TESS_WINE_FONT_DIR "Z:${TESS_WINE_FONTS}")
else()
    set(TESS_WINE_FONTS "")
endif()

find_program(TESS_WINE wine REQUIRED)
find_program(TESS_WINESERVER wineserver REQUIRED)
set(TESS_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${PROJECT_BINARY_DIR}/wine-run @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                     WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run)
