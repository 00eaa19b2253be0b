# The portable zip: both programs, the manual (already Windows text) and the
# first steps as text with Windows line ends, all in one folder named FOLDER
# so that unpacking makes that folder. Run by the package target with ZIP,
# FOLDER, STAGE, BINARY_DIR and SOURCE_DIR set.
file(REMOVE_RECURSE ${STAGE})
set(FILES ${STAGE}/${FOLDER})
file(MAKE_DIRECTORY ${FILES})
file(COPY ${BINARY_DIR}/orvl.exe ${BINARY_DIR}/OConfig.exe ${BINARY_DIR}/Orvalist.txt
     DESTINATION ${FILES})

function(copy_as_text source target)
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${FILES}/${target} "${text}")
endfunction()
copy_as_text(${SOURCE_DIR}/packaging/FIRST-STEPS.txt FIRST-STEPS.txt)

file(REMOVE ${ZIP})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip
          ${FOLDER}
  WORKING_DIRECTORY ${STAGE}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "making ${ZIP} failed")
endif()
