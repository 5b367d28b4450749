# Makes the translation template OUTPUT from the sources under SOURCE_DIR with LUPDATE, quietly:
# lupdate's remarks on classes it cannot place are printed only when it fails. With CHECK_TEXTS
# (texts between |), fails unless the template holds each of those source texts.
#   cmake -DLUPDATE=... -DSOURCE_DIR=... -DOUTPUT=... [-DCHECK_TEXTS=a|b] -P translation-template.cmake
file(REMOVE ${OUTPUT})
execute_process(
  COMMAND ${LUPDATE} -tr-function-alias QT_TRANSLATE_NOOP+=USER_TEXT_NOOP -recursive ${SOURCE_DIR} -ts ${OUTPUT}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS ${OUTPUT})
  message(FATAL_ERROR "lupdate failed:\n${output}")
endif()
file(READ ${OUTPUT} template)
string(REPLACE "|" ";" texts "${CHECK_TEXTS}")
foreach(text IN LISTS texts)
  string(REPLACE "&" "&amp;" escaped "${text}")
  string(FIND "${template}" "<source>${escaped}</source>" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "The translation template lacks \"${text}\"")
  endif()
endforeach()
