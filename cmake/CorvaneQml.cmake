# Every Corvane QML module is built the same way, so tools (qmllint, qmlls) find all of them under
# one import path: ${CORVANE_QML_DIR}/Corvane/<Name>, and at qrc:/qt-project.org/imports/ in the
# program.
set(CORVANE_QML_DIR ${PROJECT_BINARY_DIR}/qml)
set(CORVANE_QT_QML_DIR ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_QML})

# Debian ships Qt5Compat's private graphical-effects module without the type file its qmldir
# names, and qmllint fails every file that imports Qt5Compat.GraphicalEffects over it. Lint reads
# that module from a copy whose qmldir leaves the missing file out.
set(CORVANE_LINT_IMPORTS ${PROJECT_BINARY_DIR}/qmllint-imports)
set(compat_private Qt5Compat/GraphicalEffects/private)
if(EXISTS ${CORVANE_QT_QML_DIR}/${compat_private}/qmldir
        AND NOT EXISTS ${CORVANE_QT_QML_DIR}/${compat_private}/plugins.qmltypes)
    file(READ ${CORVANE_QT_QML_DIR}/${compat_private}/qmldir qmldir)
    string(REGEX REPLACE "typeinfo [^\n]*\n" "" qmldir "${qmldir}")
    file(WRITE ${CORVANE_LINT_IMPORTS}/${compat_private}/qmldir "${qmldir}")
    file(GLOB compat_files ${CORVANE_QT_QML_DIR}/${compat_private}/*.qml)
    foreach(file IN LISTS compat_files)
        get_filename_component(name ${file} NAME)
        file(CREATE_LINK ${file} ${CORVANE_LINT_IMPORTS}/${compat_private}/${name} SYMBOLIC)
    endforeach()
endif()

# corvane_add_qml_module(<target> URI <uri> [SOURCES ...] [QML_FILES ...] [DEPENDENCIES ...])
# Creates the static library <target> as the QML module <uri> (version 1.0). DEPENDENCIES names the
# modules whose types its C++ types use (QtQuick is always one). A module with QML files gets a test,
# qmllint.<uri>, that fails on any qmllint warning.
#
# Files whose components reach ids around them say `pragma ComponentBehavior: Bound`. Qt 6.4 refuses
# bound components in a Loader, a list's header, footer, highlight or section delegate, so files
# with those stay unbound and mark such lines `// qmllint disable unqualified`. Other lines marked
# `disable` are gaps in Qt 6.4's type descriptions that the engine handles at run time (`type`:
# qint64 properties, Qt.size() given to a QSize, methods of JS arrays and urls, Qt.callLater,
# DialogButtonBox roles; `alias` to a qint64), a base class qmltyperegistrar
# cannot follow (`property`: a model derived from a class template), or controls whose content
# needs its ids (`deferred-property-id`).
function(corvane_add_qml_module target)
    cmake_parse_arguments(ARG "" "URI" "SOURCES;QML_FILES;DEPENDENCIES" ${ARGN})
    string(REPLACE "." "/" module_path ${ARG_URI})
    if(NOT TARGET ${target})
        qt_add_library(${target} STATIC)
    endif()
    qt_add_qml_module(${target}
        URI ${ARG_URI}
        VERSION 1.0
        RESOURCE_PREFIX /qt-project.org/imports
        OUTPUT_DIRECTORY ${CORVANE_QML_DIR}/${module_path}
        DEPENDENCIES QtQuick ${ARG_DEPENDENCIES}
        SOURCES ${ARG_SOURCES}
        QML_FILES ${ARG_QML_FILES}
    )
    # Code generated from QML is not ours to keep clean of shadowing.
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "/\\.rcc/qmlcache/")
    if(sources)
        set_source_files_properties(${sources} PROPERTIES COMPILE_OPTIONS -Wno-shadow)
    endif()
    if(ARG_QML_FILES)
        list(TRANSFORM ARG_QML_FILES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
        set(qrc_files "$<TARGET_PROPERTY:${target},_qt_generated_qrc_files>")
        add_test(NAME qmllint.${ARG_URI}
            COMMAND Qt6::qmllint --bare -I ${CORVANE_QML_DIR} -I ${CORVANE_LINT_IMPORTS}
                -I ${CORVANE_QT_QML_DIR}
                "$<$<BOOL:${qrc_files}>:--resource;$<JOIN:${qrc_files},;--resource;>>"
                ${ARG_QML_FILES}
            COMMAND_EXPAND_LISTS
            WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
        set_tests_properties(qmllint.${ARG_URI} PROPERTIES LABELS qmllint)
    endif()
endfunction()
