# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Run by CPack on the staged files before they are packed (CPACK_PRE_BUILD_SCRIPTS). It strips the
# programs and the video module as dh_strip does (the .comment and .note sections too), and adds
# what only the Debian package carries: its changelog, compressed without a time stamp, and its
# lintian override.
set(stage ${CPACK_TEMPORARY_INSTALL_DIRECTORY})
if(NOT EXISTS ${stage}/usr/bin)
    message(FATAL_ERROR "FinishDebianPackage: nothing staged under ${stage}/usr/bin")
endif()

file(GLOB programs ${stage}/usr/bin/*)
foreach(program ${programs})
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${program}
        RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "FinishDebianPackage: cannot strip ${program}")
    endif()
endforeach()

# The video module, as dh_strip strips a shared object.
file(GLOB modules ${stage}/usr/lib/brasvel-resedit/plugins/*.so)
foreach(module ${modules})
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note --strip-unneeded
        ${module} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "FinishDebianPackage: cannot strip ${module}")
    endif()
endforeach()

set(doc ${stage}/usr/share/doc/brasvel-resedit)
file(MAKE_DIRECTORY ${doc} ${stage}/usr/share/lintian/overrides)
execute_process(COMMAND gzip -9n -c ${CPACK_BRASVEL_CHANGELOG} OUTPUT_FILE ${doc}/changelog.Debian.gz
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "FinishDebianPackage: cannot compress ${CPACK_BRASVEL_CHANGELOG}")
endif()
file(COPY_FILE ${CPACK_BRASVEL_LINTIAN_OVERRIDES} ${stage}/usr/share/lintian/overrides/brasvel-resedit)
file(CHMOD ${doc}/changelog.Debian.gz ${stage}/usr/share/lintian/overrides/brasvel-resedit
    PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
