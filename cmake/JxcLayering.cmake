# jxc_check_widget_free(TARGET...): stops the configuration when one of the targets, or any library
# of this project it links, links Qt Widgets, Qt's printing module or Qt Test. The core libraries
# are kept to the store, QtCore and QtGui so that their logic runs and is tested without windows.
set(JXC_WIDGET_LIBRARIES Qt6::Widgets Qt6::PrintSupport Qt6::Test)

function(_jxc_linked_libraries target out)
    get_target_property(type ${target} TYPE)
    set(libraries)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
        get_target_property(direct ${target} LINK_LIBRARIES)
        if(direct)
            list(APPEND libraries ${direct})
        endif()
    endif()
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    if(interface)
        list(APPEND libraries ${interface})
    endif()
    # Private links of static libraries are listed as $<LINK_ONLY:name>.
    list(TRANSFORM libraries REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1")
    set(${out} ${libraries} PARENT_SCOPE)
endfunction()

function(jxc_check_widget_free)
    set(pending ${ARGN})
    set(seen)
    while(pending)
        list(POP_FRONT pending target)
        if(target IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${target})
        _jxc_linked_libraries(${target} libraries)
        foreach(library ${libraries})
            if(library IN_LIST JXC_WIDGET_LIBRARIES)
                message(FATAL_ERROR "${target} links ${library}; the core libraries (${ARGN}) must "
                                    "link only the store, QtCore and QtGui.")
            endif()
            if(library MATCHES "^jxc_" AND TARGET ${library})
                list(APPEND pending ${library})
            endif()
        endforeach()
    endwhile()
endfunction()

# jxc_check_includes_point_inward(DIRECTORY...): stops the configuration when a source file of one
# of the directories includes a header of app/, the program's start-up and main window, which uses
# every other part and is used by none.
function(jxc_check_includes_point_inward)
    foreach(directory ${ARGN})
        file(GLOB_RECURSE files CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${directory}/*.h"
             "${PROJECT_SOURCE_DIR}/${directory}/*.cpp")
        foreach(file ${files})
            file(STRINGS "${file}" includes REGEX "^#include \"app/")
            if(includes)
                message(FATAL_ERROR "${file} includes app/ (${includes}); only app/ and its "
                                    "tests may.")
            endif()
        endforeach()
    endforeach()
endfunction()
