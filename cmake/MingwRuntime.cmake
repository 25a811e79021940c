# The runtime DLLs of mingw-w64's C++ compiler, which its programs and the Qt DLLs built with it
# load: TESS_MINGW_RUNTIME_DLLS, their full paths.
set(TESS_MINGW_RUNTIME_DLLS "")
foreach(dll IN ITEMS libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(path "${path}" REALPATH)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "The compiler's runtime has no ${dll}")
    endif()
    list(APPEND TESS_MINGW_RUNTIME_DLLS "${path}")
endforeach()
