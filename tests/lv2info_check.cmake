# Runs lilv's lv2info on the built bundle and checks what any LV2 host will read from it.
set(ENV{LV2_PATH} "${BUNDLE_DIR}:/usr/lib/lv2")
execute_process(COMMAND ${LV2INFO} ${URI} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lv2info failed (${rc}): ${err}")
endif()

function(expect pattern what)
  if(NOT out MATCHES "${pattern}")
    message(FATAL_ERROR "lv2info output lacks ${what} (${pattern}):\n${out}")
  endif()
endfunction()

expect("Name:[ \t]+Brisca\n" "the name")
expect("Author:[ \t]+HALVANE-AUDIO\n" "the maker")
foreach(port audio_in_1 audio_in_2 audio_in_3 audio_in_4 audio_out_1 audio_out_2)
  expect("Symbol:[ \t]+${port}\n" "audio port ${port}")
endforeach()
expect("input_group_2" "the side-chain group")
string(REGEX MATCHALL "Symbol:[ \t]+audio_in_[0-9]" ins "${out}")
string(REGEX MATCHALL "Symbol:[ \t]+audio_out_[0-9]" outs "${out}")
list(LENGTH ins nin)
list(LENGTH outs nout)
if(NOT nin EQUAL 4 OR NOT nout EQUAL 2)
  message(FATAL_ERROR "expected 4 audio inputs and 2 outputs, got ${nin} and ${nout}")
endif()

# Parameters are patch:Parameters described in dsp.ttl: symbol, label and snapped default.
file(READ "${BUNDLE_DIR}/Brisca.lv2/dsp.ttl" ttl)
foreach(entry
    "dbEnable|Enable|1" "dbSideChain|Side Chain|0" "dbHPEnable|HP Enable|0" "dbInput|Input|0.5"
    "dbRMS|RMS-PEAK|0" "dbWide|WIDE|0" "dbHP|HP|0" "dbKnee|Knee|0" "dbRatio|Ratio|0.474"
    "dbThreshold|Threshold|0.501" "dbAttack|Attack|0.02" "dbRelease|Release|0.267"
    "dbOutput|Output|0.5" "dbLimit|Limit|0" "dbMSInput|M/S Input|0" "dbWet|Wet|1")
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 id)
  list(GET parts 1 label)
  list(GET parts 2 def)
  string(REPLACE "/" "\\/" label_re "${label}")
  if(NOT ttl MATCHES "plug:${id}\n[ \t]+a lv2:Parameter ;\n[ \t]+rdfs:label \"${label}\" ;\n[^.]*lv2:default ${def} ;")
    message(FATAL_ERROR "dsp.ttl lacks parameter ${id} labelled \"${label}\" with default ${def}")
  endif()
endforeach()
string(REGEX MATCHALL "a lv2:Parameter" params "${ttl}")
list(LENGTH params nparams)
if(NOT nparams EQUAL 16)
  message(FATAL_ERROR "expected 16 parameters, found ${nparams}")
endif()
message(STATUS "lv2info: name, maker, 6 audio ports and 16 parameters as expected")
