# Runs one CLI script in a fresh copy of the scripts folder, so that what it writes stays
# out of the sources, and compares its output with the expected file byte for byte.
# -DCLI=... -DSCRIPT=... -DEXPECTED=... -DINPUTS=<scripts folder> -DWORKDIR=<scratch folder>
file(REMOVE_RECURSE ${WORKDIR})
file(COPY ${INPUTS}/ DESTINATION ${WORKDIR})
execute_process(
  COMMAND ${CLI} script ${SCRIPT}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE errors
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "plotcraftsman-cli script ${SCRIPT} exited with ${result}: ${errors}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${WORKDIR}/output.actual "${actual}")
  message(FATAL_ERROR "output of ${SCRIPT} differs from ${EXPECTED}:\n${actual}")
endif()
