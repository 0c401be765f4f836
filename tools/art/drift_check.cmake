# Makes sure the art check notices a shipped picture that no longer matches
# its sources: copies the pictures, puts another picture in place of
# StagePic.png, and expects the check to fail naming StagePic.
#   cmake -DTOOL=... -DASSETS=... -DWORK=... -P drift_check.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(GLOB pictures "${ASSETS}/*.png")
file(COPY ${pictures} DESTINATION "${WORK}")
file(COPY_FILE "${ASSETS}/Opic.png" "${WORK}/StagePic.png")
execute_process(COMMAND "${TOOL}" --check "${WORK}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 1)
  message(FATAL_ERROR "the check passed a changed picture (exit ${result})")
endif()
if(NOT err MATCHES "StagePic")
  message(FATAL_ERROR "the check did not name the changed picture: ${err}")
endif()
if(err MATCHES "Opic|BlockPic|Title")
  message(FATAL_ERROR "the check blamed an unchanged picture: ${err}")
endif()
file(REMOVE_RECURSE "${WORK}")
