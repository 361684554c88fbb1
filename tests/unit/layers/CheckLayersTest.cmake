# Run as `cmake -DCHECKER=<CheckLayers.cmake> -DCASES=<folder> -DWORK=<folder>
# -P CheckLayersTest.cmake`: runs the layer check on each small tree below
# CASES and compares its verdict and message with what the tree holds.
cmake_policy(VERSION 3.16)

# case | fails | part of the message
set(cases
  "clean|0|"
  "angle|1|addon/host may not include \"simhost/core/SimHost.hpp\""
  "quoted|1|addon/host may not include \"addon/services/Globals.hpp\"")
set(errors "")
foreach(entry IN LISTS cases)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 name)
  list(GET fields 1 fails)
  list(LENGTH fields n)
  set(part "")
  if(n GREATER 2)
    list(GET fields 2 part)
  endif()
  set(stamp "${WORK}/${name}.stamp")
  file(REMOVE "${stamp}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${CASES}/${name} -DSTAMP=${stamp} -P ${CHECKER}
                  RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_VARIABLE output)
  if(fails)
    if(result EQUAL 0 OR EXISTS "${stamp}")
      list(APPEND errors "${name}: the check passed a tree with a violation")
    elseif(NOT output MATCHES "Layering broken")
      list(APPEND errors "${name}: failed without naming the broken layering: ${output}")
    else()
      string(FIND "${output}" "${part}" at)
      if(at EQUAL -1)
        list(APPEND errors "${name}: the message lacks '${part}': ${output}")
      endif()
    endif()
  elseif(NOT result EQUAL 0 OR NOT EXISTS "${stamp}")
    list(APPEND errors "${name}: the check refused a clean tree: ${output}")
  endif()
endforeach()
if(errors)
  list(JOIN errors "\n  " text)
  message(FATAL_ERROR "Layer check misjudged:\n  ${text}")
endif()
