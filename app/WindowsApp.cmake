# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# The window for Windows: one static .exe with nothing beside it. Its translations (and Qt's
# Polish for its dialogs) are built in, its icon and version information are resources, and it is
# a program of the graphical subsystem (no console window opens with it).
set_target_properties(brasvel-resedit PROPERTIES WIN32_EXECUTABLE ON)

# The .qm files, made with the build machine's lrelease, as resources under :/translations.
find_program(BRASVEL_LRELEASE lrelease PATHS /usr/lib/qt6/bin REQUIRED NO_DEFAULT_PATH)
set(BRASVEL_WINDOWS_QM_DIR ${CMAKE_CURRENT_BINARY_DIR}/translations)
file(MAKE_DIRECTORY ${BRASVEL_WINDOWS_QM_DIR})
add_custom_command(
    OUTPUT ${BRASVEL_WINDOWS_QM_DIR}/brasvel-resedit_en.qm
    COMMAND ${BRASVEL_LRELEASE} -silent ${PROJECT_SOURCE_DIR}/translations/brasvel-resedit_en.ts
        -qm ${BRASVEL_WINDOWS_QM_DIR}/brasvel-resedit_en.qm
    DEPENDS ${PROJECT_SOURCE_DIR}/translations/brasvel-resedit_en.ts)
set(BRASVEL_QT_POLISH /usr/share/qt6/translations/qtbase_pl.qm)
if(NOT EXISTS ${BRASVEL_QT_POLISH})
    message(FATAL_ERROR "${BRASVEL_QT_POLISH} is missing: apt-get install qt6-translations-l10n")
endif()
configure_file(${BRASVEL_QT_POLISH} ${BRASVEL_WINDOWS_QM_DIR}/qtbase_pl.qm COPYONLY)
qt_add_resources(brasvel-resedit translations PREFIX /translations BASE ${BRASVEL_WINDOWS_QM_DIR}
    FILES ${BRASVEL_WINDOWS_QM_DIR}/brasvel-resedit_en.qm ${BRASVEL_WINDOWS_QM_DIR}/qtbase_pl.qm)

# The icon, painted by brasvel-render-icons (run under wine, the build's emulator), and the
# version information Explorer shows in the file's properties.
qt_import_plugins(brasvel-render-icons INCLUDE Qt6::QMinimalIntegrationPlugin)
set(BRASVEL_WINDOWS_ICON ${CMAKE_CURRENT_BINARY_DIR}/brasvel-resedit.ico)
add_custom_command(
    OUTPUT ${BRASVEL_WINDOWS_ICON}
    COMMAND brasvel-render-icons --ico ${BRASVEL_WINDOWS_ICON}
    DEPENDS brasvel-render-icons)
string(REPLACE "." "," BRASVEL_VERSION_COMMAS "${PROJECT_VERSION}.0.0")
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/brasvel-resedit.rc.in
    ${CMAKE_CURRENT_BINARY_DIR}/brasvel-resedit.rc @ONLY)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/brasvel-resedit.rc PROPERTIES
    OBJECT_DEPENDS ${BRASVEL_WINDOWS_ICON})
target_sources(brasvel-resedit PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/brasvel-resedit.rc)
