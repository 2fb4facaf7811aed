# Compiles the help file: copies the pages into WORK_DIR, writes the project, contents and
# index there in GB2312 and runs chmcmd on them. Help viewers show the contents and the index
# in the code page of the help file's language (0x804, Chinese PRC), whatever the pages use.
#
# The pages are named *.html, not *.htm: viewers built on wxWidgets (xchm) take the media
# type from the shared MIME database, which lists *.htm as XHTML as well as HTML, and then
# show the page's source text instead of the page.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
#
# wxWidgets' HTML view also breaks lines only at blanks, so a Chinese sentence would run past
# the right edge. A blank after each Chinese comma, stop and colon gives it places to break;
# after a full-width mark the extra blank is hardly visible. The pages installed for web
# browsers, which break Chinese text anywhere, stay as they are.
foreach(page IN LISTS PAGES)
  file(READ ${SOURCE_DIR}/${page} text)
  string(REGEX REPLACE "(，|。|、|：|；|）)([^ \n<])" "\\1 \\2" text "${text}")
  file(WRITE ${WORK_DIR}/${page} "${text}")
endforeach()
foreach(name IN LISTS PROJECT_FILES)
  execute_process(
    COMMAND ${ICONV} -f UTF-8 -t GB2312 ${SOURCE_DIR}/${name}
    OUTPUT_FILE ${WORK_DIR}/${name}
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${name} holds text that GB2312 cannot encode")
  endif()
endforeach()
execute_process(
  COMMAND ${CHMCMD} zhavik.hhp
  WORKING_DIRECTORY ${WORK_DIR}
  OUTPUT_VARIABLE log
  ERROR_VARIABLE log
  RESULT_VARIABLE failed)
if(failed OR NOT EXISTS ${WORK_DIR}/zhavik.chm)
  message(FATAL_ERROR "chmcmd failed:\n${log}")
endif()
file(COPY_FILE ${WORK_DIR}/zhavik.chm ${OUTPUT})
