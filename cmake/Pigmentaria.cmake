# What is Qt code and what is the headless core is decided here, once, for src/, tests/ and bench/.
# Qt code sits in a folder named "qt" inside the subsystem it belongs to (src/editor/qt,
# tests/print/qt, bench/qt, ...), at any depth; everything else is core code and must build
# without Qt.

# pigmentaria_split_sources(CORE_VAR QT_VAR SOURCE...): the sources below a "qt" folder go to
# QT_VAR, the others to CORE_VAR. Only the part of a path inside the project counts, so a
# checkout under some ".../qt/..." folder changes nothing.
function(pigmentaria_split_sources core_var qt_var)
    set(core)
    set(qt)
    foreach(source IN LISTS ARGN)
        file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${source}")
        if(relative MATCHES "(^|/)qt/")
            list(APPEND qt "${source}")
        else()
            list(APPEND core "${source}")
        endif()
    endforeach()
    set(${core_var} "${core}" PARENT_SCOPE)
    set(${qt_var} "${qt}" PARENT_SCOPE)
endfunction()

# pigmentaria_glob_sources(CORE_VAR QT_VAR [RECURSE] FOLDER...): the .cpp files of the folders
# (with RECURSE, of their subfolders too), split as above.
function(pigmentaria_glob_sources core_var qt_var)
    set(mode GLOB)
    set(patterns)
    foreach(folder IN LISTS ARGN)
        if(folder STREQUAL "RECURSE")
            set(mode GLOB_RECURSE)
        else()
            list(APPEND patterns "${folder}/*.cpp")
        endif()
    endforeach()
    file(${mode} sources CONFIGURE_DEPENDS ${patterns})
    list(SORT sources)
    pigmentaria_split_sources(core qt ${sources})
    set(${core_var} "${core}" PARENT_SCOPE)
    set(${qt_var} "${qt}" PARENT_SCOPE)
endfunction()

# The Qt modules the windows, printing and drawings from the clipboard use, and the tool that
# compiles the windows' translations; only looked for when the GUI is built.
macro(pigmentaria_find_qt)
    find_package(Qt6 REQUIRED COMPONENTS Gui PrintSupport Svg Widgets LinguistTools)
endmacro()
