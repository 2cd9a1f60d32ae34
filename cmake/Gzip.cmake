# cmake -DINPUT=file -DOUTPUT=file.gz -P Gzip.cmake: gzip -9n, written whole or not at all.
execute_process(COMMAND gzip -9n -c ${INPUT} OUTPUT_FILE ${OUTPUT}.tmp RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE ${OUTPUT}.tmp)
  message(FATAL_ERROR "gzip ${INPUT} failed: ${rc}")
endif()
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
