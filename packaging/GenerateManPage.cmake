# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Turns one Markdown manual page into roff: cmake -DSOURCE=page.1.md -DOUTPUT=page.1
#   -DGO_MD2MAN=path -DVERSION=x -DDATE=yyyy-mm-dd -P GenerateManPage.cmake
# The version and date are filled in first; the roff says it is UTF-8, for man's preconv.
file(READ ${SOURCE} markdown)
string(REPLACE "@PROJECT_VERSION@" "${VERSION}" markdown "${markdown}")
string(REPLACE "@BRASVEL_RELEASE_DATE@" "${DATE}" markdown "${markdown}")
file(WRITE ${OUTPUT}.md "${markdown}")
execute_process(COMMAND ${GO_MD2MAN} -in ${OUTPUT}.md -out ${OUTPUT}.body
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "go-md2man failed on ${SOURCE}")
endif()
file(READ ${OUTPUT}.body roff)
get_filename_component(name ${SOURCE} NAME)
file(WRITE ${OUTPUT} ".\\\" -*- coding: UTF-8 -*-\n.\\\" Made from docs/man/${name}; edit that file.\n${roff}")
file(REMOVE ${OUTPUT}.md ${OUTPUT}.body)
