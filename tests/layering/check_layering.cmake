# Fails when code reaches across the layers:
# - the host names the module or includes its headers (the host finds the
#   module's behaviour through the extension dictionary, never by name);
# - the model includes user-interface code (dialogs, commands, the frame): it
#   shows messages through the host's system services instead.
# Run as: cmake -DROOT=<source tree> -P check_layering.cmake
if(NOT ROOT)
  message(FATAL_ERROR "ROOT is not set: cmake -DROOT=<source tree> -P check_layering.cmake")
endif()

set(violations 0)

# kor_forbid(<folder> <regex> <reason>): every line of a source file under
# <folder> that matches <regex> is a violation.
function(kor_forbid folder regex reason)
  file(GLOB_RECURSE files LIST_DIRECTORIES false
    "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/CMakeLists.txt")
  set(count ${violations})
  foreach(file ${files})
    file(STRINGS "${file}" lines REGEX "${regex}")
    foreach(line ${lines})
      file(RELATIVE_PATH shown "${ROOT}" "${file}")
      string(STRIP "${line}" line)
      message("${shown}: ${reason}: ${line}")
      math(EXPR count "${count} + 1")
    endforeach()
  endforeach()
  set(violations ${count} PARENT_SCOPE)
endfunction()

kor_forbid(host "KORVrc|KORImmersiveConfiguration" "the host names the module")
kor_forbid(host "#include \"interfaces/" "the host includes a module header")
kor_forbid(KORImmersiveConfiguration/KORVrcModel.m "#include \"(dialog|command|frame)/"
  "the model includes user-interface code")

if(violations GREATER 0)
  message(FATAL_ERROR "found ${violations} layering violation(s)")
endif()
message("no layering violation")
