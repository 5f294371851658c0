# cmake -DSRC=src-dir -P check_layers.cmake
# The layers of src/ only point down: host over render, settings and flakes,
# over wind, over math, over the platform seam. The portable core (math, the
# clock, wind, flakes and the vertex build) sees no window system, no
# Direct3D, no settings and never ends the process.
set(core_globs math/* clock/* wind/* flakes/* render/flake_vertices.*)
set(violations "")

# check(<globs> <what> <regex>...): every line of those files that matches.
function(check globs what)
    set(found "")
    foreach(glob IN LISTS globs)
        file(GLOB files ${SRC}/${glob})
        foreach(file IN LISTS files)
            # One list entry a line: the code's semicolons would split a line
            # and its square brackets would join lines.
            file(READ ${file} content)
            string(REGEX REPLACE "[][;]" "_" content "${content}")
            string(REPLACE "\n" ";" lines "${content}")
            foreach(line IN LISTS lines)
                foreach(pattern IN LISTS ARGN)
                    if(line MATCHES "${pattern}")
                        file(RELATIVE_PATH relative ${SRC} ${file})
                        list(APPEND found "${relative}: ${line}")
                    endif()
                endforeach()
            endforeach()
        endforeach()
    endforeach()
    foreach(entry IN LISTS found)
        message(SEND_ERROR "${what}: ${entry}")
    endforeach()
endfunction()

check("${core_globs}" "the core includes a platform or settings header"
      "#include <windows\\.h>" "#include <d3d9\\.h>" "#include \"settings/" "#include \"host/"
      "#include \"diag/")
check("${core_globs}" "the core ends the process" "[^a-zA-Z_]exit[ ]*\\(" "abort[ ]*\\("
      "std::terminate")
check("render/*" "render reaches up into the host" "#include \"host/")
check("wind/*" "wind reaches up into the flakes" "#include \"flakes/")
check("math/*" "math reaches up" "#include \"(wind|flakes|clock|render)/")
check("flakes/*" "flakes reach up" "#include \"(render|host|settings)/")
