# The project's compiler warnings, carried by a target that the project's own libraries and
# programs link, so that nothing is added to the flags a packager passes in.
add_library(tess_warnings INTERFACE)
target_compile_options(tess_warnings INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wno-unused-parameter>)

# Links tess_warnings into every library and program defined in `directory` and below it, so
# that a new target gets the warnings without a line of its own.
function(tess_add_warnings directory)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            target_link_libraries(${target} PRIVATE tess_warnings)
        endif()
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        tess_add_warnings(${subdirectory})
    endforeach()
endfunction()
