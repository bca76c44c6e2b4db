# Runs make_chime in both modes and checks what the players and the stroke-counting tests rely
# on: a plain 16-bit mono PCM WAV, a sensible length, a clearly audible stroke and a tail of
# exact silence.
#
# cmake -DMAKE_CHIME=... -DWORK_DIR=... -P check_sounds.cmake

file(MAKE_DIRECTORY ${WORK_DIR})

# Little-endian unsigned integer of `size` bytes at byte `offset` of the hex text.
function(le_uint hex offset size out)
  math(EXPR pos "${offset} * 2")
  set(value "")
  foreach(i RANGE 1 ${size})
    math(EXPR p "${pos} + (${size} - ${i}) * 2")
    string(SUBSTRING "${hex}" ${p} 2 byte)
    string(APPEND value ${byte})
  endforeach()
  math(EXPR value "0x${value}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

function(fail what)
  message(FATAL_ERROR "${wav}: ${what}")
endfunction()

# min_ms/max_ms: allowed length; silence_ms: exact zeros required at the end.
function(check_wav wav min_ms max_ms silence_ms)
  file(READ ${wav} hex HEX)
  string(LENGTH "${hex}" chars)
  math(EXPR bytes "${chars} / 2")
  if(bytes LESS 44)
    fail("shorter than a WAV header")
  endif()

  string(SUBSTRING "${hex}" 0 8 riff)
  string(SUBSTRING "${hex}" 16 16 wave_fmt)
  string(SUBSTRING "${hex}" 72 8 data_tag)
  if(NOT riff STREQUAL "52494646" OR NOT wave_fmt STREQUAL "57415645666d7420"
     OR NOT data_tag STREQUAL "64617461")
    fail("not a canonical RIFF/WAVE file with fmt and data chunks")
  endif()

  le_uint("${hex}" 4 4 riff_size)
  le_uint("${hex}" 16 4 fmt_size)
  le_uint("${hex}" 20 2 format)
  le_uint("${hex}" 22 2 channels)
  le_uint("${hex}" 24 4 rate)
  le_uint("${hex}" 28 4 byte_rate)
  le_uint("${hex}" 32 2 block)
  le_uint("${hex}" 34 2 bits)
  le_uint("${hex}" 40 4 data_size)
  math(EXPR expected_riff "${bytes} - 8")
  math(EXPR expected_data "${bytes} - 44")
  if(NOT riff_size EQUAL expected_riff OR NOT data_size EQUAL expected_data)
    fail("chunk sizes ${riff_size}/${data_size} do not match the file size ${bytes}")
  endif()
  math(EXPR expected_byte_rate "${rate} * 2")
  if(NOT fmt_size EQUAL 16 OR NOT format EQUAL 1 OR NOT channels EQUAL 1 OR NOT bits EQUAL 16
     OR NOT block EQUAL 2 OR NOT byte_rate EQUAL expected_byte_rate
     OR NOT (rate EQUAL 44100 OR rate EQUAL 22050))
    fail("format ${format}, ${channels} ch, ${rate} Hz, ${bits} bit is not 16-bit mono PCM")
  endif()

  math(EXPR ms "${data_size} * 1000 / ${byte_rate}")
  if(ms LESS min_ms OR ms GREATER max_ms)
    fail("lasts ${ms} ms, expected ${min_ms} to ${max_ms} ms")
  endif()

  math(EXPR tail_chars "${silence_ms} * ${rate} / 1000 * 4")
  math(EXPR tail_from "${chars} - ${tail_chars}")
  string(SUBSTRING "${hex}" ${tail_from} ${tail_chars} tail)
  if(NOT tail MATCHES "^0+$")
    fail("the last ${silence_ms} ms are not exact silence")
  endif()

  # At least one sample of the first 100 ms reaches -12 dBFS (|v| >= 0x2000): audible when
  # played and far above the 2 % level at which recordings are split into strokes.
  math(EXPR head_chars "${rate} / 10 * 4")
  string(SUBSTRING "${hex}" 88 ${head_chars} head)
  string(REGEX MATCHALL "...." samples "${head}")
  list(FILTER samples INCLUDE REGEX "^..([2-7][0-9a-f]|[89a-d][0-9a-f])$")
  if(NOT samples)
    fail("the first 100 ms are quiet or silent")
  endif()
endfunction()

foreach(mode chime short)
  set(out ${WORK_DIR}/${mode}.wav)
  file(REMOVE ${out})
  if(mode STREQUAL "chime")
    execute_process(COMMAND ${MAKE_CHIME} ${out} RESULT_VARIABLE rc)
  else()
    execute_process(COMMAND ${MAKE_CHIME} --short ${out} RESULT_VARIABLE rc)
  endif()
  if(NOT rc EQUAL 0 OR NOT EXISTS ${out})
    message(FATAL_ERROR "make_chime (${mode}) failed: ${rc}")
  endif()
endforeach()

check_wav(${WORK_DIR}/chime.wav 1000 1500 20)
check_wav(${WORK_DIR}/short.wav 150 300 60)
